#include "linkhub/ComConnection.h"

#include "linkhub/QextSerialEnumerator.h"
#include "linkhub/QextSerialPort.h"
#include "linkhub/UsbBridge.h"
#include "linkhub/private/WireLog.h"
#include "linkhub/private/AnswerDecoder.h"
#include "linkhub/private/CountingSemaphore.h"
#include "linkhub/private/PacketReceiver.h"
#include "linkhub/private/ThreadCallQueue.h"
#include "linkhub/private/WorkerThread.h"

#include <QDebug>
#include <QThread>

#include <algorithm>
#include <utility>

/// Transmits queued packets one by one, each up to three times, and waits for their answers.
class ComConnection::SendThread : public WorkerThread
{
public:
    explicit SendThread(ComConnection *connection)
        : WorkerThread(QStringLiteral("ComSendThread")), connection(connection) {}
    ~SendThread() override { wait(); }

protected:
    void run() override;

private:
    ComConnection *connection;
};

/// Drains the port as soon as bytes arrive, and at least every poll period, while a session lasts.
class ComConnection::PollThread : public WorkerThread
{
public:
    explicit PollThread(ComConnection *connection)
        : WorkerThread(QStringLiteral("ComPollThread")), connection(connection) {}
    ~PollThread() override { wait(); }

    std::atomic<bool> stopRequested{false};

protected:
    void run() override;

private:
    ComConnection *connection;
};

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
      sendPermits(std::make_unique<CountingSemaphore>()),
      receiver(std::make_unique<PacketReceiver>(
          [this](TunedockCommand command, QByteArray &payload) { onPacketReceived(command, payload); },
          [this](unsigned char code, const QByteArray &payload, unsigned char checksum) {
              wireLog->frameRejected(code, payload, checksum);
          })),
      wireLog(std::make_unique<WireLog>([this] { return lineSpeed(); })),
      uiCalls(std::make_unique<ThreadCallQueue>()),
      sendThread(std::make_unique<SendThread>(this)),
      pollThread(std::make_unique<PollThread>(this))
{
    // Queued signals from the worker threads carry these.
    qRegisterMetaType<ConnectionState>("ConnectionState");
    qRegisterMetaType<ErrorMessage>("ErrorMessage");
    qRegisterMetaType<ModelDataUpdateBits>("ModelDataUpdateBits");
    qRegisterMetaType<ModelData *>("ModelData*");

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
    sendPermits->release();
    sendThread->wait();
    pollThread->wait();
    {
        std::lock_guard<std::recursive_mutex> guard(portLock);
        serialPort.reset();
    }
    delete modelData;
    DeviceCatalogue::release(catalogue);
}

// ---- State -------------------------------------------------------------------------------

ConnectionState ComConnection::getConnectionState() const
{
    return state;
}

void ComConnection::setConnectionState(ConnectionState newState, ErrorMessage error)
{
    if (state == newState && error == NoError)
        return;
    state = newState;
    wireLog->stateChanged(newState, error);
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
    if (pollThread->stopRequested)
        pollThread->wait();
    pollThread->stopRequested = false;
    pollThread->start();
}

qint32 ComConnection::lineSpeed()
{
    std::lock_guard<std::recursive_mutex> guard(portLock);
    return serialPort->baudRate();
}

void ComConnection::startTimer()
{
    pollTimer.start();
}

void ComConnection::stopTimer()
{
    pollTimer.stop();
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
    // Packets still queued belong to the session being left (a CloseSession just queued by
    // close(), say); sent now they would reach the device that is about to be identified.
    dropQueuedPackets();
    recallPacketInFlight();
    setConnectionState(Opening, NoError);
    receiverResetRequested = true;

    std::unique_lock<std::recursive_mutex> guard(portLock);
    serialPort->close();
    // Bytes the poll thread took from the old port before this point carry the older session.
    recallPacketInFlight();
    serialPort->readAll();
    serialPort->setBaudRate(BAUD600);
    serialPort->setPortName(port);
    if (!serialPort->open()) {
        qDebug() << "Could not open" << port << serialPort->errorString();
        setConnectionState(Error, FailedToOpen);
        return;
    }
    guard.unlock();
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
    // A clock request queued behind the close command would reach a device that has already
    // ended the session, and one waiting ahead of it would hold the close back for a whole answer.
    stopTimer();
    dropQueued(ReadDateTime);
    setConnectionState(Closing, NoError);
    sendCommand(CloseSession);
}

void ComConnection::hardClose(ErrorMessage error)
{
    // Empty the queue before recalling: a packet taken in between would carry the new session.
    dropQueuedPackets();
    recallPacketInFlight();
    setConnectionState(Closing, error);
    {
        std::lock_guard<std::recursive_mutex> guard(portLock);
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
    // A device that answers slower than the poll period would otherwise find the queue growing
    // by one clock request a period, ahead of everything queued later.
    if (!isQueued(ReadDateTime))
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
        std::lock_guard<std::mutex> guard(queueLock);
        sendQueue.append(packet);
    }
    sendPermits->release();
}

void ComConnection::dropQueuedPackets()
{
    std::lock_guard<std::mutex> guard(queueLock);
    sendQueue.clear();
    sendPermits->drain();
}

bool ComConnection::isQueued(TunedockCommand command)
{
    std::lock_guard<std::mutex> guard(queueLock);
    return std::any_of(sendQueue.cbegin(), sendQueue.cend(),
                       [command](const QByteArray &packet) { return quint8(packet.at(0)) == command; });
}

void ComConnection::dropQueued(TunedockCommand command)
{
    std::lock_guard<std::mutex> guard(queueLock);
    const qsizetype dropped =
        sendQueue.removeIf([command](const QByteArray &packet) { return quint8(packet.at(0)) == command; });
    for (qsizetype i = 0; i < dropped; ++i)
        sendPermits->tryAcquire();
}

bool ComConnection::takePacket(Packet &packet)
{
    sendPermits->acquire();
    if (shuttingDown)
        return false;
    std::lock_guard<std::mutex> guard(queueLock);
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
    {
        std::lock_guard<std::mutex> guard(answerLock);
        ++sessionGeneration;
    }
    answerReceived.notify_all();
}

std::optional<std::chrono::microseconds> ComConnection::transmit(const Packet &packet, int attempt)
{
    static const QByteArray leadIn("\xFF\x55", 2);
    const QByteArray frame = leadIn + packet.bytes;
    std::lock_guard<std::recursive_mutex> guard(portLock);
    // open() starts a new session under this lock: a packet of the session it ended must not
    // reach the port it opened.
    if (!isSessionCurrent(packet))
        return std::nullopt;
    wireLog->frameSent(packet.bytes, attempt);
    serialPort->write(frame);
    serialPort->flush();
    return wireTime(frame.size(), serialPort->baudRate());
}

std::chrono::microseconds ComConnection::wireTime(qsizetype bytes, qint32 baudRate)
{
    if (baudRate <= 0)
        return std::chrono::microseconds::zero();
    return std::chrono::microseconds(qint64(bytes) * BitsPerByte * 1000000 / baudRate);
}

void ComConnection::wakeAnswerWaiters()
{
    {
        std::lock_guard<std::mutex> guard(answerLock);
        answerArrived = true;
    }
    answerReceived.notify_all();
}

bool ComConnection::waitForAnswer(const Packet &packet, std::chrono::microseconds onTheWire)
{
    // The port hands the frame over at once but the line carries it for its wire time; the
    // device can answer only after its last byte, so the wait counts from then.
    const auto timeout = onTheWire + std::chrono::milliseconds(answerTimeoutMs.load());
    std::unique_lock<std::mutex> guard(answerLock);
    answerReceived.wait_for(guard, timeout, [&] { return answerArrived || !isSessionCurrent(packet); });
    return answerArrived;
}

void ComConnection::transmitUntilAnswered(const Packet &packet)
{
    {
        std::lock_guard<std::recursive_mutex> guard(portLock);
        if (!serialPort->isOpen())
            return;
    }
    const auto code = static_cast<unsigned char>(packet.bytes.at(0));
    const bool firstFirmwareBlock = code == FirmwareBlock && packet.bytes.size() > 3 && packet.bytes.at(3) == 0;
    if (code == EnterBootloader || firstFirmwareBlock)
        std::this_thread::sleep_for(BootloaderPause);

    for (int attempt = 0; attempt < TransmissionAttempts; ++attempt) {
        {
            std::lock_guard<std::mutex> guard(answerLock);
            answerArrived = false;
        }
        const std::optional<std::chrono::microseconds> onTheWire = transmit(packet, attempt + 1);
        if (!onTheWire)
            return;
        if (waitForAnswer(packet, *onTheWire))
            return;
        if (isSessionCurrent(packet))
            wireLog->noAnswer(packet.bytes, attempt + 1, getAnswerTimeout());
    }
    // A hard close or a new session recalled the packet: its silence says nothing about the link.
    if (!isSessionCurrent(packet))
        return;
    qCritical() << "Timeout";
    // Reported on the user-interface thread, unless a hard close or a new session came first.
    const quint64 session = packet.session;
    uiCalls->post([this, session] {
        if (session == sessionGeneration)
            emit closing(ConnectionLost);
    });
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
    bool deviceLost = false;
    {
        std::lock_guard<std::recursive_mutex> guard(portLock);
        bytes = serialPort->readAll();
        deviceLost = serialPort->takeDeviceLoss();
        receivedSession = sessionGeneration;
    }
    // A flooding device can leave a full buffer of noise, each byte worth a diagnostic: a stop
    // must not wait for all of it.
    for (qsizetype at = 0; at < bytes.size(); at += ReceiveChunk) {
        const qsizetype end = std::min(bytes.size(), at + ReceiveChunk);
        for (qsizetype i = at; i < end; ++i)
            handleByte(static_cast<unsigned char>(bytes.at(i)));
        if (pollThread->stopRequested || shuttingDown)
            return;
    }
    if (deviceLost)
        reportDeviceLoss();
}

void ComConnection::reportDeviceLoss()
{
    // Reported on the user-interface thread, unless a hard close or a new session came first.
    const quint64 session = receivedSession;
    uiCalls->post([this, session] {
        if (session == sessionGeneration)
            emit closing(ConnectionLost);
    });
}

void ComConnection::handleByte(unsigned char byte)
{
    receiver->handleByte(byte);
}

void ComConnection::onPacketReceived(TunedockCommand command, QByteArray &payload)
{
    wireLog->frameReceived(command, payload);
    if (QThread::currentThread() == thread()) {
        handlePackage(command, payload);
        return;
    }
    // An answer read before a hard close or a new open belongs to the session left behind:
    // dispatched now, a late SessionClosed would end the new session.
    const quint64 session = receivedSession;
    if (session != sessionGeneration)
        return;
    // The send thread must learn of the answer now; decoding waits for the user-interface thread.
    wakeAnswerWaiters();
    uiCalls->post([this, session, command, payload]() mutable {
        if (session == sessionGeneration)
            dispatchPackage(command, payload);
    });
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
    QList<QextPortInfo> supported;
    const QList<QextPortInfo> ports = QextSerialEnumerator::getPorts();
    for (const QextPortInfo &port : ports) {
        if (UsbBridge::find(port.vendorID, port.productID))
            supported.append(port);
    }
    return supported;
}

// ---- Dispatching answers -----------------------------------------------------------------

void ComConnection::handlePackage(TunedockCommand command, QByteArray &payload)
{
    wakeAnswerWaiters();
    dispatchPackage(command, payload);
}

void ComConnection::dispatchPackage(TunedockCommand command, QByteArray &payload)
{
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
    const int expected = currentModel->answerSize(code) & 0xFF;
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
        std::lock_guard<std::recursive_mutex> guard(portLock);
        if (serialPort->baudRate() != row->baudRate)
            serialPort->setBaudRate(row->baudRate);
    }
    ModelData *previous = std::exchange(modelData, new ModelData(row));
    setConnectionState(Connected, NoError);
    emit modelDataUpdate(modelData, IdentityUpdate);
    retireRecord(previous);

    if (recovery)
        return;
    if (row->has(DeviceModel::FirmwareCheck)) {
        sendCommand(ReadFirmwareVersion);
        return;
    }
    requestModelReads();
}

void ComConnection::retireRecord(ModelData *previous)
{
    if (!previous)
        return;
    // Posted through Qt's own event queue behind the signals just emitted, so a queued receiver
    // that still holds the previous record reads it before it goes.
    std::shared_ptr<ModelData> owner(previous);
    QMetaObject::invokeMethod(this, [owner] {}, Qt::QueuedConnection);
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
