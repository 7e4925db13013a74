// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkhub/ConnectionState.h"
#include "linkhub/DeviceCatalogue.h"
#include "linkhub/ModelData.h"
#include "linkhub/QextPortInfo.h"
#include "linkhub/TunedockCommand.h"
#include "linkhub/linkhub_global.h"

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QObject>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <memory>
#include <mutex>

class AnswerDispatcher;
class PacketReceiver;
class PacketSender;
class QextSerialPort;
class ThreadCallQueue;
class WireLog;

/// The one object through which the application talks to a bike computer.
///
/// Threads: the thread that creates it (the user-interface thread) runs the slots, the poll timer
/// and the dispatcher, and alone touches the state, the model and the record; the send thread
/// ("ComSendThread") transmits queued packets and waits for answers; the poll thread
/// ("ComPollThread") drains the port, cuts packets, wakes the send thread at once for each good
/// one and hands it to the user-interface thread. Every signal is emitted on that thread.
///
/// Locks: it owns portLock, the recursive mutex around every use of the port. The send side
/// (PacketSender) owns the queue's and the answer wait's locks; the dispatcher of answers
/// (AnswerDispatcher) keeps to the user-interface thread and needs none.
class LINKHUB_EXPORT ComConnection : public QObject
{
    Q_OBJECT

public:
    /// Wait for an answer after each transmission.
    static constexpr std::chrono::milliseconds DefaultAnswerTimeout{2000};
    /// Transmissions of one packet before the link counts as lost.
    static constexpr int TransmissionAttempts = 3;
    /// Longest pause of the poll thread between two reads of the port.
    static constexpr std::chrono::milliseconds PollPeriod{150};
    /// Period of the clock request that keeps the link busy while connected.
    static constexpr std::chrono::milliseconds PollTimerInterval{1000};
    /// Pause before entering the boot loader and before the first firmware block.
    static constexpr std::chrono::milliseconds BootloaderPause{1100};
    /// Line speed of every firmware transfer.
    static constexpr qint32 FirmwareBaudRate = 9600;
    /// Start bit, eight data bits and stop bit: the wire time of a byte is ten bit times.
    static constexpr int BitsPerByte = 10;
    /// Received bytes the poll thread feeds to the receiver between two looks at its stop request.
    static constexpr qsizetype ReceiveChunk = 4096;

    class SendThread;
    class PollThread;

    ComConnection();
    ~ComConnection() override;

    ConnectionState getConnectionState() const;
    /// Changes the state, starts or stops the poll machinery and reports the change.
    /// A repeat of the current state with NoError is not reported.
    void setConnectionState(ConnectionState newState, ErrorMessage error);

    /// Continues a handshake that stopped for the firmware check: reads the model and starts polling.
    void approveFw();
    void startTimer();
    void stopTimer();
    void setDeviceModel(DeviceModel *model);
    /// The current record; valid until the next identification replaces it, kept after closing.
    ModelData *getData() const;
    /// The catalogue row of the identified device, or null.
    const DeviceModel *getDeviceModel() const;
    /// The catalogue the connection owns, keyed by model id.
    const DeviceCatalogue::Map &getCatalogue() const { return catalogue; }

    /// Shortens or restores the wait for an answer (tests of silent devices use a short one).
    void setAnswerTimeout(std::chrono::milliseconds timeout);
    std::chrono::milliseconds getAnswerTimeout() const;

    /// Builds a packet (code, length, payload, checksum) and queues it; callable from any thread.
    void sendCommand(TunedockCommand command, const QByteArray *payload = nullptr);
    /// Wrap-around 8-bit sum of all bytes.
    static char calculateChecksum(const QByteArray &bytes);

    /// Advances the receiver by one byte; only the thread that drains the port may call it.
    void handleByte(unsigned char byte);
    /// Counts one packet whose checksum was right as the answer awaited, then checks and decodes it.
    void handlePackage(TunedockCommand command, QByteArray &payload);
    /// Decodes a bike-settings payload into bike 0 or 1 of the record, by the model's bike count.
    void readBikeSetting(int bike, QByteArray &payload);
    /// The payload that writes one bike's settings and odometer, in the current record's format.
    QByteArray writeBikeSetting(ModelData *data, Bike bike) const;

    /// Loads a firmware image into the identified (or set) model: 9600 baud, the boot loader
    /// command when asked, then every block in order. Progress and completion are signalled.
    /// Refuses, sending nothing, an image shorter than the model's transfer (a critical line
    /// tells why) and a connection without a model; returns whether the transfer was queued.
    /// User-interface thread only.
    bool sendFirmwareUpdate(const QByteArray &image, bool enterBootloader);

    /// Time the bytes take on a line of the given speed.
    static std::chrono::microseconds wireTime(qsizetype bytes, qint32 baudRate);

    /// Ports of the system that sit behind a supported USB bridge, in enumeration order.
    static QList<QextPortInfo> getSupportedComs();

public slots:
    void open(const QString &port, bool recovery = false);
    /// Polite close when connected (the device confirms), otherwise hard close.
    void close();
    /// Drops the queue and any packet in flight, closes the port, ends in Closed with the reason.
    void hardClose(ErrorMessage error);
    void pollTimerEvent();
    /// Takes every byte the port holds and feeds it to the receiver; reports a device that went away.
    void onDataAvailable();
    /// Queues the write of one block of `data` and adopts a copy of `data` as the current record.
    /// The copy is taken at once (so `data` may be the connection's own record, and the caller
    /// keeps `data`); writing and adopting happen on the user-interface thread, which then
    /// announces the adopted record with modelDataUpdate: the written block's bit, or
    /// IdentityUpdate when `bits` names no writable block (a critical line says so and nothing
    /// is sent). From that announcement on, the previous record pointer is invalid.
    void sendModelData(ModelData *data, ModelDataUpdateBits bits);

signals:
    void connectionStateChanged(ConnectionState newState, ErrorMessage error);
    void modelDataUpdate(ModelData *modelData, int updateBits);
    void closing(ErrorMessage errorMessage);
    void fwUpdateProgressChanged(int progress);
    void fwUpdateComplete();

private:
    // On identification the dispatcher asks for `recovery` and switches the line speed.
    friend class AnswerDispatcher;

    void onPacketReceived(TunedockCommand command, QByteArray &payload);
    void restartPollThread();
    /// Reports a lost link on the user-interface thread, unless a hard close or a new session
    /// ended `session` first.
    void reportLoss(quint64 session);
    /// Switches the port to the given speed unless it runs at it already.
    void matchLineSpeed(qint32 baudRate);
    qint32 lineSpeed();
    void writeAndAdopt(ModelData *copy, int bits);

    // User-interface thread only: recovery, state writes, pollTimer, and the dispatcher.
    bool recovery = false;
    DeviceCatalogue::Map catalogue; // owned rows, never changed after construction
    std::unique_ptr<QextSerialPort> serialPort; // every use under portLock
    std::atomic<ConnectionState> state{Closed}; // read from any thread
    std::recursive_mutex portLock;
    QTimer pollTimer;
    std::atomic<bool> receiverResetRequested{false}; // set by open, acted on by the poll thread
    std::unique_ptr<PacketReceiver> receiver; // poll thread only
    quint64 receivedSession = 0; // poll thread only: the session when the bytes in hand were read
    std::unique_ptr<WireLog> wireLog; // off unless its logging category is on
    std::unique_ptr<PacketSender> sender; // the queue, the transmissions and the answer wait
    std::unique_ptr<AnswerDispatcher> dispatcher;
    std::unique_ptr<ThreadCallQueue> uiCalls; // carries packets and losses to the user-interface thread
    std::unique_ptr<SendThread> sendThread; // runs from construction to destruction
    std::unique_ptr<PollThread> pollThread; // runs from Opening until shortly after Closed
};
