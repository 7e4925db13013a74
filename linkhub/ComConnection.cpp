#include "linkhub/ComConnection.h"

#include "linkhub/QextSerialEnumerator.h"
#include "linkhub/QextSerialPort.h"
#include "linkhub/private/AnswerDecoder.h"
#include "linkhub/private/PacketReceiver.h"

#include <QDebug>
#include <QDeadlineTimer>
#include <QMutexLocker>

namespace {
QString hexCode(unsigned char code)
{
    return QString::number(code, 16);
}
}

ComConnection::ComConnection()
    : catalogue(DeviceCatalogue::build()),
      serialPort(std::make_unique<QextSerialPort>()),
      fixedAnswerSizes{{0x12, 0}, {0x92, 0}, {0x63, 0}, {0xE3, 0}, {0xE4, 1}, {0xE5, 1}, {0xF1, 0}, {0xF5, 0}},
      receiver(std::make_unique<PacketReceiver>(
          [this](TunedockCommand command, QByteArray &payload) { handlePackage(command, payload); })),
      sendThread(new SendThread(this)),
      pollThread(new PollThread(this))
{
    // Queued signals from the worker threads carry these.
    qRegisterMetaType<ConnectionState>("ConnectionState");
    qRegisterMetaType<ErrorMessage>("ErrorMessage");

    pollThread->setObjectName(QStringLiteral("ComPollThread"));
    sendThread->setObjectName(QStringLiteral("ComSendThread"));
    connect(this, &ComConnection::closing, this, &ComConnection::hardClose);
    sendThread->start();
    setConnectionState(Closed, NoError);
    pollTimer.setInterval(PollTimerInterval);
    pollTimer.setSingleShot(false);
    connect(&pollTimer, &QTimer::timeout, this, &ComConnection::pollTimerEvent);
}

ComConnection::~ComConnection()
{
    shuttingDown = true;
    pollThread->stopRequested = true;
    recallPacketInFlight();
    sendPermits.release();
    sendThread->wait();
    pollThread->wait();
    delete sendThread;
    delete pollThread;
    {
        QMutexLocker locker(&portLock);
        serialPort.reset();
    }
    delete modelData.load();
    DeviceCatalogue::release(catalogue);
}

// ---- State -------------------------------------------------------------------------------

ConnectionState ComConnection::getConnectionState() const
{
    return state;
}

void ComConnection::setConnectionState(ConnectionState newState, ErrorMessage error)
{
    {
        QMutexLocker locker(&stateLock);
        if (state == newState && error == NoError)
            return;
        state = newState;
    }
    if (newState == Closed) {
        stopTimer();
        pollThread->stopRequested = true;
    } else if (newState == Opening) {
        restartPollThread();
    }
    emit connectionStateChanged(newState, error);
}

void ComConnection::restartPollThread()
{
    // A poll thread that saw its stop request may still be on its way out; a start request would
    // then be lost, so wait for it and start afresh.
    if (pollThread->isRunning() && pollThread->stopRequested)
        pollThread->wait();
    pollThread->stopRequested = false;
    if (!pollThread->isRunning())
        pollThread->start();
}

void ComConnection::startTimer()
{
    if (QThread::currentThread() == thread()) {
        pollTimer.start();
        return;
    }
    // The timer belongs to the user-interface thread. The session may have ended by the time
    // the request gets there; a timer started then would poll a closed link.
    QMetaObject::invokeMethod(this, [this] {
        if (state == Connected)
            pollTimer.start();
    }, Qt::QueuedConnection);
}

void ComConnection::stopTimer()
{
    if (QThread::currentThread() == thread())
        pollTimer.stop();
    else
        QMetaObject::invokeMethod(&pollTimer, &QTimer::stop, Qt::QueuedConnection);
}

void ComConnection::setDeviceModel(DeviceModel *model)
{
    currentModel = model;
}

ModelData *ComConnection::getData() const
{
    return modelData;
}

const DeviceModel *ComConnection::getDeviceModel() const
{
    return currentModel;
}

void ComConnection::setAnswerTimeout(std::chrono::milliseconds timeout)
{
    answerTimeoutMs = int(timeout.count());
}

std::chrono::milliseconds ComConnection::getAnswerTimeout() const
{
    return std::chrono::milliseconds(answerTimeoutMs.load());
}

// ---- Session -----------------------------------------------------------------------------

void ComConnection::open(const QString &port, bool recovery)
{
    this->recovery = recovery;
    recallPacketInFlight();
    setConnectionState(Opening, NoError);
    receiverResetRequested = true;

    QMutexLocker locker(&portLock);
    serialPort->close();
    serialPort->readAll();
    serialPort->setBaudRate(BAUD600);
    serialPort->setPortName(port);
    if (!serialPort->open()) {
        setConnectionState(Error, FailedToOpen);
        return;
    }
    locker.unlock();
    setConnectionState(WaitingForAnswer, NoError);
    if (!recovery)
        sendCommand(ReadDeviceId);
}

void ComConnection::close()
{
    if (state != Connected) {
        hardClose(NoError);
        return;
    }
    qDebug() << "Sending close command";
    setConnectionState(Closing, NoError);
    sendCommand(CloseSession);
}

void ComConnection::hardClose(ErrorMessage error)
{
    recallPacketInFlight();
    {
        QMutexLocker locker(&queueLock);
        sendQueue.clear();
        sendPermits.tryAcquire(sendPermits.available());
    }
    setConnectionState(Closing, error);
    {
        QMutexLocker locker(&portLock);
        serialPort->close();
    }
    setConnectionState(Closed, error);
    qDebug() << "hard closed";
}

void ComConnection::approveFw()
{
    requestModelReads();
}

void ComConnection::requestModelReads()
{
    const DeviceModel *model = currentModel;
    if (!model)
        return;
    for (int request : model->requestCommands)
        sendCommand(static_cast<TunedockCommand>(request));
    startTimer();
}

void ComConnection::pollTimerEvent()
{
    sendCommand(ReadDateTime);
}

// ---- Sending -----------------------------------------------------------------------------

char ComConnection::calculateChecksum(const QByteArray &bytes)
{
    unsigned char sum = 0;
    for (char byte : bytes)
        sum += static_cast<unsigned char>(byte);
    return static_cast<char>(sum);
}

void ComConnection::sendCommand(TunedockCommand command, const QByteArray *payload)
{
    QByteArray packet;
    packet.append(char(command));
    if (payload) {
        packet.append(char(payload->size() & 0xFF));
        if (command == FirmwareBlock)
            packet.append(char((payload->size() >> 8) & 0xFF));
        packet.append(*payload);
    } else {
        packet.append(char(0));
    }
    packet.append(calculateChecksum(packet));
    {
        QMutexLocker locker(&queueLock);
        sendQueue.append(packet);
    }
    sendPermits.release();
}

bool ComConnection::takePacket(Packet &packet)
{
    sendPermits.acquire();
    if (shuttingDown)
        return false;
    QMutexLocker locker(&queueLock);
    if (sendQueue.isEmpty())
        return false;
    packet.bytes = sendQueue.takeFirst();
    packet.session = sessionGeneration;
    return true;
}

bool ComConnection::isSessionCurrent(const Packet &packet) const
{
    return packet.session == sessionGeneration && !shuttingDown;
}

void ComConnection::recallPacketInFlight()
{
    QMutexLocker locker(&answerLock);
    ++sessionGeneration;
    answerReceived.wakeAll();
}

void ComConnection::transmit(const QByteArray &packet)
{
    static const QByteArray leadIn("\xFF\x55", 2);
    QMutexLocker locker(&portLock);
    serialPort->write(leadIn + packet);
    serialPort->flush();
}

void ComConnection::wakeAnswerWaiters()
{
    QMutexLocker locker(&answerLock);
    answerArrived = true;
    answerReceived.wakeAll();
}

bool ComConnection::waitForAnswer(const Packet &packet)
{
    QMutexLocker locker(&answerLock);
    const QDeadlineTimer deadline(std::chrono::milliseconds(answerTimeoutMs.load()));
    while (!answerArrived && isSessionCurrent(packet)) {
        if (!answerReceived.wait(&answerLock, deadline))
            break;
    }
    return answerArrived;
}

void ComConnection::transmitUntilAnswered(const Packet &packet)
{
    {
        QMutexLocker locker(&portLock);
        if (!serialPort->isOpen())
            return;
    }
    const auto code = static_cast<unsigned char>(packet.bytes.at(0));
    const bool firstFirmwareBlock = code == FirmwareBlock && packet.bytes.size() > 3 && packet.bytes.at(3) == 0;
    if (code == EnterBootloader || firstFirmwareBlock)
        QThread::msleep(BootloaderPause.count());

    for (int attempt = 0; attempt < TransmissionAttempts; ++attempt) {
        if (!isSessionCurrent(packet))
            return;
        {
            QMutexLocker locker(&answerLock);
            answerArrived = false;
        }
        transmit(packet.bytes);
        if (waitForAnswer(packet))
            return;
    }
    // A hard close or a new session recalled the packet: its silence says nothing about the link.
    if (!isSessionCurrent(packet))
        return;
    qCritical() << "Timeout";
    emit closing(ConnectionLost);
}

void ComConnection::SendThread::run()
{
    while (!connection->shuttingDown) {
        Packet packet;
        if (connection->takePacket(packet))
            connection->transmitUntilAnswered(packet);
    }
}

// ---- Receiving ---------------------------------------------------------------------------

void ComConnection::onDataAvailable()
{
    if (receiverResetRequested.exchange(false))
        receiver->reset();
    QByteArray bytes;
    {
        QMutexLocker locker(&portLock);
        bytes = serialPort->readAll();
    }
    for (char byte : bytes)
        handleByte(static_cast<unsigned char>(byte));
}

void ComConnection::handleByte(unsigned char byte)
{
    receiver->handleByte(byte);
}

void ComConnection::PollThread::run()
{
    qDebug() << "poll thread started";
    while (!stopRequested) {
        connection->onDataAvailable();
        // Returns as soon as bytes arrive, so an answer is dispatched without waiting out the period.
        connection->serialPort->waitForData(PollPeriod);
    }
    qDebug() << "poll thread stopped";
}

// ---- Port list ---------------------------------------------------------------------------

QList<QextPortInfo> ComConnection::getSupportedComs()
{
    struct Bridge
    {
        int vendorId;
        int productId;
    };
    static constexpr Bridge supportedBridges[] = {
        {0x0403, 0x6001}, // FTDI FT232 USB-UART
        {0x10C4, 0xEA60}, // Silicon Labs CP210x USB-UART
    };
    QList<QextPortInfo> supported;
    const QList<QextPortInfo> ports = QextSerialEnumerator::getPorts();
    for (const QextPortInfo &port : ports) {
        for (const Bridge &bridge : supportedBridges) {
            if (port.vendorID == bridge.vendorId && port.productID == bridge.productId) {
                supported.append(port);
                break;
            }
        }
    }
    return supported;
}

// ---- Dispatching answers -----------------------------------------------------------------

void ComConnection::handlePackage(TunedockCommand command, QByteArray &payload)
{
    wakeAnswerWaiters();
    const auto code = static_cast<unsigned char>(command);

    if (!currentModel) {
        if (code == FirmwareBlockAck && !payload.isEmpty()) {
            qCritical() << "Illegal command (" << hexCode(code) << ") size: " << payload.size()
                        << " should be: " << 0;
            return;
        }
        if (code != DeviceIdData && code != FirmwareBlockAck) {
            qCritical() << "Answer while not connected: " << hexCode(code);
            return;
        }
    } else if ((code & 1) && !hasExpectedLength(code, payload)) {
        return;
    }

    ModelData *data = modelData;
    switch (code) {
    case DeviceIdData:
        identify(payload);
        return;
    case SessionClosed:
        qDebug() << "Session closed";
        emit closing(NoError);
        return;
    case BootloaderReady:
        qDebug() << "device now in bootloader mode";
        return;
    case FirmwareBlockAck:
        acknowledgeFirmwareBlock();
        return;
    case WriteAltitudeAck:
    case WriteCurrentBikeAck:
    case WriteHeartRateAck:
    case WriteDateTimeAck:
    case WriteBikeSettingsAck:
    case WriteBike1SettingsAck:
    case WriteBike2SettingsAck:
    case WriteBikeAuxAck:
    case WriteModelOptionAck:
        return;
    default:
        break;
    }

    if (!data) // a model was set by hand, but nothing identified itself yet
        return;
    switch (code) {
    case AltitudeData:
        announceIf(AnswerDecoder::altitude(*data, payload), AltitudeUpdate);
        break;
    case CurrentBikeData:
        announceIf(AnswerDecoder::currentBike(*data, payload), CurrentBikeUpdate);
        break;
    case HeartRateData:
        announceIf(AnswerDecoder::heartRate(*data, payload), HeartRateUpdate);
        break;
    case DateTimeData:
        announceIf(AnswerDecoder::dateTime(*data, payload), DateTimeUpdate);
        break;
    case BikeSettingsData:
    case Bike1SettingsData:
        announceIf(AnswerDecoder::bikeSettings(*data, 0, payload), Bike1Update);
        break;
    case Bike2SettingsData:
        announceIf(AnswerDecoder::bikeSettings(*data, 1, payload), Bike2Update);
        break;
    case BikeAuxData:
        announceIf(AnswerDecoder::bikeAux(*data, payload), BikeAuxUpdate);
        break;
    case FirmwareVersionData:
        announceIf(AnswerDecoder::firmwareVersion(*data, payload), FirmwareVersionUpdate);
        break;
    case ModelOptionData:
        announceIf(AnswerDecoder::modelOption(*data, payload), ModelOptionUpdate);
        break;
    default:
        qCritical() << "Unknown command: " << hexCode(code);
        break;
    }
}

bool ComConnection::hasExpectedLength(unsigned char code, const QByteArray &payload) const
{
    const DeviceModel *model = currentModel;
    const int expected = model->answerSize(code) & 0xFF;
    if (payload.size() == expected)
        return true;
    const auto fixed = fixedAnswerSizes.constFind(code);
    if (fixed != fixedAnswerSizes.constEnd() && fixed.value() == payload.size())
        return true;
    qCritical() << "Illegal command (" << hexCode(code) << ") size: " << payload.size()
                << " should be: " << expected;
    return false;
}

void ComConnection::identify(QByteArray &payload)
{
    const unsigned char id = payload.isEmpty() ? 0 : static_cast<unsigned char>(payload.at(0));
    DeviceModel *row = catalogue.value(id, nullptr);
    if (!row) {
        setConnectionState(Closed, UnknownDeviceType);
        return;
    }
    currentModel = row;
    {
        QMutexLocker locker(&portLock);
        if (serialPort->baudRate() != row->baudRate)
            serialPort->setBaudRate(row->baudRate);
    }
    replaceRecord(new ModelData(row));
    setConnectionState(Connected, NoError);
    emit modelDataUpdate(modelData, IdentityUpdate);

    if (recovery)
        return;
    if (row->has(DeviceModel::FirmwareCheck)) {
        sendCommand(ReadFirmwareVersion);
        return;
    }
    requestModelReads();
}

void ComConnection::replaceRecord(ModelData *fresh)
{
    ModelData *previous = modelData.exchange(fresh);
    if (!previous)
        return;
    // The user-interface thread may still read the previous record until the IdentityUpdate
    // that names the new one reaches it; events reach it in order, so free it after that.
    QMetaObject::invokeMethod(this, [previous] { delete previous; }, Qt::QueuedConnection);
}

void ComConnection::announceIf(bool decoded, ModelDataUpdateBits block)
{
    if (decoded)
        emit modelDataUpdate(modelData, block);
    else
        qDebug() << "Answer too short to decode, block" << int(block) << "left as it was";
}

void ComConnection::readBikeSetting(int bike, QByteArray &payload)
{
    if (ModelData *data = modelData)
        AnswerDecoder::bikeSettings(*data, bike, payload);
}

void ComConnection::acknowledgeFirmwareBlock()
{
    const int acked = ++fwBlocksAcked;
    qDebug() << "ack for fw block " << acked;
    emit fwUpdateProgressChanged(acked);
    const DeviceModel *model = currentModel;
    // Without an identified model there is no block count to complete against.
    if (model && acked == model->fwBlockCount) {
        qDebug() << "fw update complete";
        emit fwUpdateComplete();
    }
}
