// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkhub/DeviceCatalogue.h"
#include "linkhub/ModelData.h"
#include "tools/simulator/AnswerEncoder.h"
#include "tools/simulator/BootLoader.h"
#include "tools/simulator/DeviceLine.h"
#include "tools/simulator/FaultMode.h"
#include "tools/simulator/FrameCodec.h"
#include "tools/simulator/PseudoTerminal.h"
#include "tools/simulator/WriteDecoder.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QString>

#include <atomic>
#include <chrono>
#include <functional>
#include <mutex>
#include <optional>
#include <thread>

/// A stand-in bike computer on a pseudo-terminal, for tests and tools.
///
/// It plays one catalogue model: it answers the read requests and CloseSession with the
/// model's payloads built from the values it holds, stores what the write requests carry and
/// acknowledges them, takes firmware blocks in its boot loader, keeps to the line speeds of DeviceLine,
/// and sends its answers paced at ten bits a byte at its current speed (a request is taken
/// as complete once its own wire time has passed). A byte sent while the PC side listens at
/// another speed arrives as 0x00, as a framing error does on a real line.
///
/// The device runs on a thread of its own from start() until destruction or unplug().
/// Every public method may be called from any thread.
class SimulatedBikeComputer
{
public:
    using Clock = std::chrono::steady_clock;

    /// Model id named by the identification answer under FaultMode::UnknownId.
    static constexpr quint8 UnknownModelId = 0x99;
    /// How often the device looks at the line speed while nothing arrives.
    static constexpr std::chrono::milliseconds LineWatchInterval{20};
    /// Longest wait for the PC side to take an answer before the device unplugs after it, and
    /// to follow the device's speed before a repeated answer goes out.
    static constexpr std::chrono::milliseconds UnplugDrainTimeout{2000};
    /// A pause within a request longer than this drops what came before it: a PC writes a frame
    /// whole, so only a program that went away mid-request leaves such a part behind.
    static constexpr std::chrono::milliseconds FramePauseLimit{250};

    /// One request the device understood (right speed, right checksum).
    struct Request
    {
        quint8 code = 0;
        QByteArray payload;
        qint32 lineSpeed = 0; ///< baud at which it arrived
        Clock::time_point receivedAt; ///< when its last byte was complete on the wire
        bool answered = false; ///< an answer was sent for it (faults aside)
    };

    /// Builds the answer payload for a request from the device's values (which a handler of a
    /// write may change); nothing means the request goes unanswered. Runs on the device thread.
    using Handler = std::function<std::optional<QByteArray>(ModelData &values, const RequestFrame &request)>;

    /// A device of the catalogue model with this id, holding SampleRide's values for it.
    explicit SimulatedBikeComputer(quint8 modelId);
    ~SimulatedBikeComputer();

    SimulatedBikeComputer(const SimulatedBikeComputer &) = delete;
    SimulatedBikeComputer &operator=(const SimulatedBikeComputer &) = delete;

    /// Opens the line and starts answering; false (see errorString()) for a model id
    /// the catalogue does not hold or when no pseudo-terminal can be had.
    bool start();
    /// Starts as a device whose firmware is gone: only its boot loader runs, which does not
    /// identify itself and takes firmware blocks at the firmware speed.
    bool startInBootLoader();
    QString errorString() const;
    /// Name under which the PC side opens the line, e.g. /dev/pts/7.
    QString portName() const;
    /// The catalogue row played, or null for an id the catalogue does not hold.
    const DeviceModel *model() const { return row; }

    ModelData values() const;
    /// Replaces the values the device holds; they stay tied to the device's own catalogue row.
    void setValues(const ModelData &newValues);
    /// Firmware version as a decimal number, 0..99 (sent as two BCD digits).
    void setFirmwareVersion(int version);

    /// Switches the failure mode; count is n of DropNthAnswer, UnplugAfter and DuplicateAnswer, the
    /// block index of DropBlockAck and SilentAfterBlock, the delay in milliseconds of SlowAnswers
    /// and the model id of AnotherModelId.
    void setFault(FaultMode mode, int count = 0);
    FaultMode fault() const;
    /// Bytes of noise sent ahead of each answer under FaultMode::NoiseBeforeAnswer.
    static QByteArray noiseBytes();

    /// Replaces or adds the handling of one request code.
    void setHandler(quint8 requestCode, Handler handler);

    /// Requests understood so far, oldest first.
    QList<Request> requests() const;
    /// Codes of requests(), in order.
    QList<quint8> requestCodes() const;
    void clearRequests();
    /// The application part of the firmware received by the boot loader (zero where no block
    /// arrived), and how many different blocks arrived.
    QByteArray firmwareImage() const;
    int firmwareBlocksReceived() const;
    /// Whether only the boot loader runs now.
    bool inBootLoader() const;

    /// Bytes thrown away because they arrived at a speed the device was not listening at.
    int ignoredByteCount() const;
    /// Frames from the PC whose checksum was wrong.
    int rejectedFrameCount() const;
    /// Answers put on the line so far.
    int answerCount() const;
    /// Noise bytes put on the line under FaultMode::BabblingLine so far.
    qint64 babbledByteCount() const { return babbledBytes.load(); }

    /// The speed the device listens and talks at now.
    qint32 deviceSpeed() const { return currentDeviceSpeed.load(); }
    /// The speed the PC side set, as last seen by the device.
    qint32 lineSpeed() const { return lastLineSpeed.load(); }

    /// Closes the device's side of the line: the PC side sees a hang-up. The device stops.
    void unplug();
    bool isPlugged() const { return plugged.load(); }

private:
    void registerHandlers();
    /// Whether the fault mode swallows the answer to this request; called under lock.
    bool faultSwallows(const RequestFrame &frame);
    void run();
    void watchLine();
    bool isBabbling() const;
    void babble();
    void receive(const QByteArray &bytes);
    void handle(const RequestFrame &frame, Clock::time_point completeAt);
    bool sendPaced(const QByteArray &bytes);
    /// Waits (a bounded time) for the PC side to listen at the device's speed; false when stopping.
    bool awaitPcAtDeviceSpeed();
    /// Holds an answer back until it can be complete on the wire `delay` after its request was.
    bool delayAnswer(const QByteArray &answer, Clock::time_point requestCompleteAt, std::chrono::milliseconds delay);
    bool waitUntil(Clock::time_point deadline);
    void unplugFromDevice(bool letPcTakeAnswer);
    /// Returns once the PC sends again, having taken the answer, or after UnplugDrainTimeout.
    void awaitPcTakingAnswer();
    void stopThread();

    DeviceCatalogue::Map catalogue; // own rows, never changed
    const DeviceModel *row = nullptr;
    const AnswerEncoder encoder;
    const WriteDecoder writeDecoder;

    // Device thread only (and the starting or stopping thread while none runs).
    PseudoTerminal line;
    DeviceLine speeds;
    FrameCodec codec;
    Clock::time_point receiveLineFreeAt;
    Clock::time_point lastReceivedAt;

    mutable std::mutex lock; // guards everything down to answersSent
    ModelData deviceValues;
    QHash<quint8, Handler> handlers;
    BootLoader bootLoader;
    bool silencedByFault = false; // SilentAfterBlock reached its block, SilentAfterFirmware its answer
    bool blockAckDropped = false; // DropBlockAck dropped its one acknowledgement
    FaultMode faultMode = FaultMode::None;
    int faultCount = 0;
    int answersSinceFault = 0;
    QList<Request> log;
    int ignoredBytes = 0;
    int rejectedFrames = 0;
    int answersSent = 0;
    QString port;
    QString lastError;

    std::atomic<qint32> currentDeviceSpeed{DeviceLine::IdentificationSpeed};
    std::atomic<qint32> lastLineSpeed{0};
    std::atomic<bool> plugged{false};
    std::atomic<bool> stopping{false};
    std::atomic<qint64> babbledBytes{0};
    int wakeFd = -1; // eventfd that interrupts the device thread's waits
    std::thread worker;
};
