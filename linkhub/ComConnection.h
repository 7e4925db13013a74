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
#include <QMutex>
#include <QObject>
#include <QRecursiveMutex>
#include <QSemaphore>
#include <QThread>
#include <QTimer>
#include <QWaitCondition>

#include <atomic>
#include <chrono>
#include <memory>

class PacketReceiver;
class QextSerialPort;

/// The one object through which the application talks to a bike computer.
///
/// Threads: the thread that creates it (the user-interface thread) runs the slots and the poll
/// timer; the send thread ("ComSendThread") transmits queued packets and waits for answers; the
/// poll thread ("ComPollThread") drains the port, cuts packets and dispatches them, so the record
/// is written there. Results reach the user-interface thread through queued signals.
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
    /// Checks and decodes one packet whose checksum was right; runs on the receiving thread.
    void handlePackage(TunedockCommand command, QByteArray &payload);
    /// Decodes a bike-settings payload into bike 0 or 1 of the record, by the model's bike count.
    void readBikeSetting(int bike, QByteArray &payload);

    /// Ports of the system that sit behind a supported USB bridge, in enumeration order.
    static QList<QextPortInfo> getSupportedComs();

public slots:
    void open(const QString &port, bool recovery = false);
    /// Polite close when connected (the device confirms), otherwise hard close.
    void close();
    /// Drops the queue and any packet in flight, closes the port, ends in Closed with the reason.
    void hardClose(ErrorMessage error);
    void pollTimerEvent();
    /// Takes every byte the port holds and feeds it to the receiver.
    void onDataAvailable();

signals:
    void connectionStateChanged(ConnectionState newState, ErrorMessage error);
    void modelDataUpdate(ModelData *modelData, int updateBits);
    void closing(ErrorMessage errorMessage);
    void fwUpdateProgressChanged(int progress);
    void fwUpdateComplete();

private:
    struct Packet
    {
        QByteArray bytes; // code, length byte(s), payload, checksum
        quint64 session = 0; // sessionGeneration when it was taken
    };

    bool takePacket(Packet &packet);
    void transmit(const QByteArray &packet);
    bool waitForAnswer(const Packet &packet);
    void wakeAnswerWaiters();
    void transmitUntilAnswered(const Packet &packet);
    bool isSessionCurrent(const Packet &packet) const;
    void recallPacketInFlight();
    void restartPollThread();
    void requestModelReads();

    void identify(QByteArray &payload);
    bool hasExpectedLength(unsigned char code, const QByteArray &payload) const;
    void acknowledgeFirmwareBlock();
    void replaceRecord(ModelData *fresh);
    /// Announces a decoded block; a payload too short for its layout changed nothing.
    void announceIf(bool decoded, ModelDataUpdateBits block);

    std::atomic<bool> recovery{false};
    DeviceCatalogue::Map catalogue; // owned rows, never changed after construction
    std::unique_ptr<QextSerialPort> serialPort; // every use under portLock
    std::atomic<ConnectionState> state{Closed};
    QMutex stateLock; // makes setConnectionState's compare and store one step
    QRecursiveMutex portLock;
    QWaitCondition answerReceived;
    QMutex answerLock; // guards answerArrived, waited on with answerReceived
    bool answerArrived = false; // set with every wake-up, so an early answer is not lost
    QMap<unsigned char, int> fixedAnswerSizes;
    std::atomic<int> answerTimeoutMs{int(DefaultAnswerTimeout.count())};
    std::atomic<DeviceModel *> currentModel{nullptr}; // written on the poll thread
    std::atomic<ModelData *> modelData{nullptr}; // written on the poll thread, owned
    QTimer pollTimer; // user-interface thread only
    QList<QByteArray> sendQueue; // guarded by queueLock
    QSemaphore sendPermits{0};
    QMutex queueLock;
    std::atomic<int> fwBlocksAcked{0};
    // Bumped by every hard close and open, so a packet taken before it is abandoned.
    std::atomic<quint64> sessionGeneration{0};
    std::atomic<bool> shuttingDown{false};
    std::atomic<bool> receiverResetRequested{false}; // set by open, acted on by the poll thread
    std::unique_ptr<PacketReceiver> receiver; // poll thread only
    SendThread *sendThread;
    PollThread *pollThread;
};

/// Transmits queued packets one by one, each up to three times, and waits for their answers.
class ComConnection::SendThread : public QThread
{
public:
    explicit SendThread(ComConnection *connection) : connection(connection) {}

protected:
    void run() override;

private:
    ComConnection *connection;
};

/// Drains the port as soon as bytes arrive, and at least every poll period, while a session lasts.
class ComConnection::PollThread : public QThread
{
public:
    explicit PollThread(ComConnection *connection) : connection(connection) {}
    std::atomic<bool> stopRequested{false};

protected:
    void run() override;

private:
    ComConnection *connection;
};
