// SPDX-License-Identifier: GPL-3.0-or-later
#include "linkhub/private/PacketSender.h"

#include "linkhub/ComConnection.h"
#include "linkhub/QextSerialPort.h"
#include "linkhub/private/CountingSemaphore.h"
#include "linkhub/private/WireLog.h"

#include <QDebug>

#include <algorithm>
#include <thread>

PacketSender::PacketSender(QextSerialPort &port, std::recursive_mutex &portLock, WireLog &wireLog, LossSink lost)
    : port(port),
      portLock(portLock),
      wireLog(wireLog),
      lost(std::move(lost)),
      sendPermits(std::make_unique<CountingSemaphore>()),
      answerTimeoutMs(int(ComConnection::DefaultAnswerTimeout.count()))
{
}

PacketSender::~PacketSender() = default;

// ---- Queue -------------------------------------------------------------------------------

void PacketSender::enqueue(const QByteArray &packet)
{
    {
        std::lock_guard<std::mutex> guard(queueLock);
        sendQueue.append(packet);
    }
    sendPermits->release();
}

void PacketSender::dropQueuedPackets()
{
    std::lock_guard<std::mutex> guard(queueLock);
    sendQueue.clear();
    sendPermits->drain();
}

bool PacketSender::isQueued(TunedockCommand command)
{
    std::lock_guard<std::mutex> guard(queueLock);
    return std::any_of(sendQueue.cbegin(), sendQueue.cend(),
                       [command](const QByteArray &packet) { return quint8(packet.at(0)) == command; });
}

void PacketSender::dropQueued(TunedockCommand command)
{
    std::lock_guard<std::mutex> guard(queueLock);
    const qsizetype dropped =
        sendQueue.removeIf([command](const QByteArray &packet) { return quint8(packet.at(0)) == command; });
    for (qsizetype i = 0; i < dropped; ++i)
        sendPermits->tryAcquire();
}

bool PacketSender::takePacket(Packet &packet)
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

// ---- Sessions ----------------------------------------------------------------------------

bool PacketSender::isSessionCurrent(const Packet &packet) const
{
    return packet.session == sessionGeneration && !shuttingDown;
}

void PacketSender::recallPacketInFlight()
{
    {
        std::lock_guard<std::mutex> guard(answerLock);
        ++sessionGeneration;
    }
    answerReceived.notify_all();
}

void PacketSender::shutDown()
{
    shuttingDown = true;
    recallPacketInFlight();
    sendPermits->release();
}

// ---- Transmission ------------------------------------------------------------------------

std::optional<std::chrono::microseconds> PacketSender::transmit(const Packet &packet, int attempt)
{
    static const QByteArray leadIn("\xFF\x55", 2);
    const QByteArray frame = leadIn + packet.bytes;
    std::lock_guard<std::recursive_mutex> guard(portLock);
    // open() starts a new session under this lock: a packet of the session it ended must not
    // reach the port it opened.
    if (!isSessionCurrent(packet))
        return std::nullopt;
    wireLog.frameSent(packet.bytes, attempt);
    port.write(frame);
    port.flush();
    return ComConnection::wireTime(frame.size(), port.baudRate());
}

void PacketSender::wakeAnswerWaiters()
{
    {
        std::lock_guard<std::mutex> guard(answerLock);
        answerArrived = true;
    }
    answerReceived.notify_all();
}

void PacketSender::setAnswerTimeout(std::chrono::milliseconds timeout)
{
    answerTimeoutMs = int(timeout.count());
}

std::chrono::milliseconds PacketSender::answerTimeout() const
{
    return std::chrono::milliseconds(answerTimeoutMs.load());
}

bool PacketSender::waitForAnswer(const Packet &packet, std::chrono::microseconds onTheWire)
{
    // The port hands the frame over at once but the line carries it for its wire time; the
    // device can answer only after its last byte, so the wait counts from then.
    const auto timeout = onTheWire + std::chrono::milliseconds(answerTimeoutMs.load());
    std::unique_lock<std::mutex> guard(answerLock);
    answerReceived.wait_for(guard, timeout, [&] { return answerArrived || !isSessionCurrent(packet); });
    return answerArrived;
}

void PacketSender::transmitUntilAnswered(const Packet &packet)
{
    {
        std::lock_guard<std::recursive_mutex> guard(portLock);
        if (!port.isOpen())
            return;
    }
    const auto code = static_cast<unsigned char>(packet.bytes.at(0));
    const bool firstFirmwareBlock = code == FirmwareBlock && packet.bytes.size() > 3 && packet.bytes.at(3) == 0;
    if (code == EnterBootloader || firstFirmwareBlock)
        std::this_thread::sleep_for(ComConnection::BootloaderPause);

    for (int attempt = 0; attempt < ComConnection::TransmissionAttempts; ++attempt) {
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
            wireLog.noAnswer(packet.bytes, attempt + 1, answerTimeout());
    }
    // A hard close or a new session recalled the packet: its silence says nothing about the link.
    if (!isSessionCurrent(packet))
        return;
    qCritical() << "Timeout";
    lost(packet.session);
}

void PacketSender::serve()
{
    while (!shuttingDown) {
        Packet packet;
        if (takePacket(packet))
            transmitUntilAnswered(packet);
    }
}
