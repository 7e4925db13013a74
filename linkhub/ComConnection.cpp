// SPDX-License-Identifier: GPL-3.0-or-later
#include "linkhub/ComConnection.h"

#include "linkhub/QextSerialEnumerator.h"
#include "linkhub/QextSerialPort.h"
#include "linkhub/UsbBridge.h"
#include "linkhub/private/AnswerDecoder.h"
#include "linkhub/private/AnswerDispatcher.h"
#include "linkhub/private/PacketReceiver.h"
#include "linkhub/private/PacketSender.h"
#include "linkhub/private/ThreadCallQueue.h"
#include "linkhub/private/WireLog.h"
#include "linkhub/private/WorkerThread.h"

#include <QDebug>
#include <QThread>

#include <algorithm>

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

ComConnection::ComConnection()
    : catalogue(DeviceCatalogue::build()),
      serialPort(std::make_unique<QextSerialPort>()),
      receiver(std::make_unique<PacketReceiver>(
          [this](TunedockCommand command, QByteArray &payload) { onPacketReceived(command, payload); },
          [this](unsigned char code, const QByteArray &payload, unsigned char checksum) {
              wireLog->frameRejected(code, payload, checksum);
          })),
      wireLog(std::make_unique<WireLog>([this] { return lineSpeed(); })),
      sender(std::make_unique<PacketSender>(*serialPort, portLock, *wireLog,
                                            [this](quint64 session) { reportLoss(session); })),
      dispatcher(std::make_unique<AnswerDispatcher>(*this)),
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
    sender->shutDown();
    pollThread->stopRequested = true;
    sendThread->wait();
    pollThread->wait();
    {
        std::lock_guard<std::recursive_mutex> guard(portLock);
        serialPort.reset();
    }
    dispatcher.reset();
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

void ComConnection::matchLineSpeed(qint32 baudRate)
{
    std::lock_guard<std::recursive_mutex> guard(portLock);
    if (serialPort->baudRate() != baudRate)
        serialPort->setBaudRate(baudRate);
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
    dispatcher->setModel(model);
}

ModelData *ComConnection::getData() const
{
    return dispatcher->record();
}

const DeviceModel *ComConnection::getDeviceModel() const
{
    return dispatcher->model();
}

void ComConnection::setAnswerTimeout(std::chrono::milliseconds timeout)
{
    sender->setAnswerTimeout(timeout);
}

std::chrono::milliseconds ComConnection::getAnswerTimeout() const
{
    return sender->answerTimeout();
}

// ---- Session -----------------------------------------------------------------------------

void ComConnection::open(const QString &port, bool recovery)
{
    this->recovery = recovery;
    // Packets still queued belong to the session being left (a CloseSession just queued by
    // close(), say); sent now they would reach the device that is about to be identified.
    sender->dropQueuedPackets();
    sender->recallPacketInFlight();
    setConnectionState(Opening, NoError);
    receiverResetRequested = true;

    std::unique_lock<std::recursive_mutex> guard(portLock);
    serialPort->close();
    // Bytes the poll thread took from the old port before this point carry the older session.
    sender->recallPacketInFlight();
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
    sender->dropQueued(ReadDateTime);
    setConnectionState(Closing, NoError);
    sendCommand(CloseSession);
}

void ComConnection::hardClose(ErrorMessage error)
{
    // Empty the queue before recalling: a packet taken in between would carry the new session.
    sender->dropQueuedPackets();
    sender->recallPacketInFlight();
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
    dispatcher->requestModelReads();
}

void ComConnection::pollTimerEvent()
{
    // A device that answers slower than the poll period would otherwise find the queue growing
    // by one clock request a period, ahead of everything queued later.
    if (!sender->isQueued(ReadDateTime))
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
    sender->enqueue(packet);
}

std::chrono::microseconds ComConnection::wireTime(qsizetype bytes, qint32 baudRate)
{
    if (baudRate <= 0)
        return std::chrono::microseconds::zero();
    return std::chrono::microseconds(qint64(bytes) * BitsPerByte * 1000000 / baudRate);
}

void ComConnection::SendThread::run()
{
    connection->sender->serve();
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
        receivedSession = sender->session();
    }
    // A flooding device can leave a full buffer of noise, each byte worth a diagnostic: a stop
    // must not wait for all of it.
    for (qsizetype at = 0; at < bytes.size(); at += ReceiveChunk) {
        const qsizetype end = std::min(bytes.size(), at + ReceiveChunk);
        for (qsizetype i = at; i < end; ++i)
            handleByte(static_cast<unsigned char>(bytes.at(i)));
        if (pollThread->stopRequested || sender->isShuttingDown())
            return;
    }
    if (deviceLost)
        reportLoss(receivedSession);
}

void ComConnection::reportLoss(quint64 session)
{
    uiCalls->post([this, session] {
        if (session == sender->session())
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
    if (session != sender->session())
        return;
    // The send thread must learn of the answer now; decoding waits for the user-interface thread.
    sender->wakeAnswerWaiters();
    uiCalls->post([this, session, command, payload]() mutable {
        if (session == sender->session())
            dispatcher->dispatch(command, payload);
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

// ---- Answers -----------------------------------------------------------------------------

void ComConnection::handlePackage(TunedockCommand command, QByteArray &payload)
{
    sender->wakeAnswerWaiters();
    dispatcher->dispatch(command, payload);
}

void ComConnection::readBikeSetting(int bike, QByteArray &payload)
{
    if (ModelData *data = dispatcher->record())
        AnswerDecoder::bikeSettings(*data, bike, payload);
}
