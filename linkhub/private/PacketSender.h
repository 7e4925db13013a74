// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkhub/TunedockCommand.h"

#include <QByteArray>
#include <QList>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>

class CountingSemaphore;
class QextSerialPort;
class WireLog;

/// The send side of the link: the queue of packets waiting for the line, the transmission of
/// each with up to three attempts, and the wait for its answer. The send thread runs serve().
///
/// Locks: it owns queueLock, which guards the queue (sendPermits counts its packets), and
/// answerLock, which guards answerArrived and each new session and is the mutex the send thread
/// waits with on answerReceived. The port and its portLock are the connection's: every write
/// takes portLock, and the connection starts a session under portLock, so no packet of an
/// ended session reaches the port it opened.
class PacketSender
{
public:
    /// Told on the send thread that a packet of the given session stayed unanswered.
    using LossSink = std::function<void(quint64 session)>;

    PacketSender(QextSerialPort &port, std::recursive_mutex &portLock, WireLog &wireLog, LossSink lost);
    ~PacketSender();

    /// Queues a whole packet (code, length, payload, checksum); callable from any thread.
    void enqueue(const QByteArray &packet);
    void dropQueuedPackets();
    bool isQueued(TunedockCommand command);
    /// Removes every waiting packet of this command, with its permit.
    void dropQueued(TunedockCommand command);

    /// Starts a new session: the packet in flight is abandoned and its wait ends.
    void recallPacketInFlight();
    /// Bumped by every recall; a packet carries the one it was taken in.
    quint64 session() const { return sessionGeneration; }
    /// Counts a packet whose checksum was right as the answer awaited.
    void wakeAnswerWaiters();

    void setAnswerTimeout(std::chrono::milliseconds timeout);
    std::chrono::milliseconds answerTimeout() const;

    /// The send thread's body: transmits queued packets one by one until shutDown().
    void serve();
    /// Ends serve() and abandons the packet in flight.
    void shutDown();
    bool isShuttingDown() const { return shuttingDown; }

private:
    struct Packet
    {
        QByteArray bytes; // code, length byte(s), payload, checksum
        quint64 session = 0; // sessionGeneration when it was taken
    };

    bool takePacket(Packet &packet);
    /// Writes the packet unless its session has ended; its wire time when written.
    std::optional<std::chrono::microseconds> transmit(const Packet &packet, int attempt);
    bool waitForAnswer(const Packet &packet, std::chrono::microseconds onTheWire);
    void transmitUntilAnswered(const Packet &packet);
    bool isSessionCurrent(const Packet &packet) const;

    QextSerialPort &port; // every use under portLock
    std::recursive_mutex &portLock;
    WireLog &wireLog;
    LossSink lost;
    QList<QByteArray> sendQueue; // guarded by queueLock
    std::unique_ptr<CountingSemaphore> sendPermits; // one permit per queued packet
    std::mutex queueLock;
    std::condition_variable answerReceived;
    std::mutex answerLock; // guards answerArrived and new sessions, waited on with answerReceived
    bool answerArrived = false; // set with every wake-up, so an early answer is not lost
    std::atomic<int> answerTimeoutMs;
    // Bumped by every hard close and open, so a packet taken before it is abandoned.
    std::atomic<quint64> sessionGeneration{0};
    std::atomic<bool> shuttingDown{false};
};
