// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/simulator/SimulatedBikeComputer.h"

#include "linkhub/TunedockCommand.h"
#include "tools/simulator/SampleRide.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <pthread.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace {

const DeviceModel *findRow(const DeviceCatalogue::Map &catalogue, quint8 id)
{
    return catalogue.value(id, nullptr);
}

ModelData initialValues(const DeviceModel *row)
{
    return row ? SampleRide::forModel(row) : ModelData(nullptr);
}

timespec toTimespec(std::chrono::nanoseconds span)
{
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(span);
    return timespec{time_t(seconds.count()), long((span - seconds).count())};
}

} // namespace

SimulatedBikeComputer::SimulatedBikeComputer(quint8 modelId)
    : catalogue(DeviceCatalogue::build()),
      row(findRow(catalogue, modelId)),
      encoder(row),
      writeDecoder(row),
      speeds(row ? row->baudRate : DeviceLine::IdentificationSpeed),
      deviceValues(initialValues(row)),
      bootLoader(row)
{
    if (row)
        registerHandlers();
    else
        lastError = QStringLiteral("no catalogue model with id %1").arg(modelId, 2, 16, QLatin1Char('0'));
}

SimulatedBikeComputer::~SimulatedBikeComputer()
{
    stopThread();
    line.unplug();
    if (wakeFd >= 0)
        ::close(wakeFd);
    DeviceCatalogue::release(catalogue);
}

void SimulatedBikeComputer::registerHandlers()
{
    // Every handler runs on the device thread under lock.
    for (quint8 code : {WriteAltitude, WriteCurrentBike, WriteHeartRate, WriteDateTime, WriteBikeSettings,
                        WriteBike1Settings, WriteBike2Settings, WriteBikeAux, WriteModelOption}) {
        handlers.insert(code, [this, code](ModelData &values, const RequestFrame &request) -> std::optional<QByteArray> {
            if (!writeDecoder.apply(code, request.payload, values))
                return std::nullopt;
            return QByteArray();
        });
    }
    handlers.insert(EnterBootloader, [this](ModelData &, const RequestFrame &) -> std::optional<QByteArray> {
        bootLoader.enter();
        speeds.enterBootLoader(); // answers at the speed the PC already listens at
        currentDeviceSpeed = speeds.speed();
        return QByteArray();
    });
    handlers.insert(FirmwareBlock, [this](ModelData &, const RequestFrame &request) -> std::optional<QByteArray> {
        if (bootLoader.store(request.payload) < 0)
            return std::nullopt;
        return QByteArray();
    });
    for (quint8 code : {ReadDeviceId, ReadAltitude, ReadCurrentBike, ReadHeartRate, ReadDateTime, ReadBikeSettings,
                        ReadBike1Settings, ReadBike2Settings, ReadBikeAux, CloseSession, ReadFirmwareVersion,
                        ReadModelOption}) {
        if (!encoder.answers(code))
            continue;
        handlers.insert(code, [this, code](ModelData &values, const RequestFrame &) {
            return encoder.encode(code, values);
        });
    }
}

bool SimulatedBikeComputer::startInBootLoader()
{
    {
        std::lock_guard<std::mutex> guard(lock);
        if (worker.joinable() || !row)
            return false;
        bootLoader.enter();
        speeds.enterBootLoader(); // no device thread runs yet
    }
    return start();
}

bool SimulatedBikeComputer::start()
{
    std::lock_guard<std::mutex> guard(lock);
    if (worker.joinable())
        return true;
    if (!row)
        return false;
    if (!line.open()) {
        lastError = line.errorString();
        return false;
    }
    if (wakeFd < 0) {
        wakeFd = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    } else {
        quint64 pending = 0; // a stop request left from an earlier run
        [[maybe_unused]] const ssize_t taken = ::read(wakeFd, &pending, sizeof pending);
    }
    if (wakeFd < 0) {
        lastError = QStringLiteral("eventfd failed");
        line.unplug();
        return false;
    }
    port = line.portName();
    lastError.clear();
    lastLineSpeed = line.lineSpeed();
    currentDeviceSpeed = speeds.speed();
    stopping = false;
    plugged = true;
    worker = std::thread([this] { run(); });
    return true;
}

QString SimulatedBikeComputer::errorString() const
{
    std::lock_guard<std::mutex> guard(lock);
    return lastError;
}

QString SimulatedBikeComputer::portName() const
{
    std::lock_guard<std::mutex> guard(lock);
    return port;
}

ModelData SimulatedBikeComputer::values() const
{
    std::lock_guard<std::mutex> guard(lock);
    return deviceValues;
}

void SimulatedBikeComputer::setValues(const ModelData &newValues)
{
    std::lock_guard<std::mutex> guard(lock);
    deviceValues = newValues;
    deviceValues.deviceModel = row;
}

void SimulatedBikeComputer::setFirmwareVersion(int version)
{
    std::lock_guard<std::mutex> guard(lock);
    deviceValues.firmwareVersion = quint8(std::clamp(version, 0, 99));
}

void SimulatedBikeComputer::setFault(FaultMode mode, int count)
{
    std::lock_guard<std::mutex> guard(lock);
    faultMode = mode;
    faultCount = count;
    answersSinceFault = 0;
    silencedByFault = false;
    blockAckDropped = false;
}

FaultMode SimulatedBikeComputer::fault() const
{
    std::lock_guard<std::mutex> guard(lock);
    return faultMode;
}

QByteArray SimulatedBikeComputer::noiseBytes()
{
    // No 0xFF among them, so a receiver sees each as a stray byte before a frame.
    return QByteArray("\x00\x3C\xA5", 3);
}

void SimulatedBikeComputer::setHandler(quint8 requestCode, Handler handler)
{
    std::lock_guard<std::mutex> guard(lock);
    if (handler)
        handlers.insert(requestCode, std::move(handler));
    else
        handlers.remove(requestCode);
}

QList<SimulatedBikeComputer::Request> SimulatedBikeComputer::requests() const
{
    std::lock_guard<std::mutex> guard(lock);
    return log;
}

QList<quint8> SimulatedBikeComputer::requestCodes() const
{
    std::lock_guard<std::mutex> guard(lock);
    QList<quint8> codes;
    for (const Request &request : log)
        codes.append(request.code);
    return codes;
}

void SimulatedBikeComputer::clearRequests()
{
    std::lock_guard<std::mutex> guard(lock);
    log.clear();
}

QByteArray SimulatedBikeComputer::firmwareImage() const
{
    std::lock_guard<std::mutex> guard(lock);
    return bootLoader.image();
}

int SimulatedBikeComputer::firmwareBlocksReceived() const
{
    std::lock_guard<std::mutex> guard(lock);
    return bootLoader.blocksReceived();
}

bool SimulatedBikeComputer::inBootLoader() const
{
    std::lock_guard<std::mutex> guard(lock);
    return bootLoader.isActive();
}

int SimulatedBikeComputer::ignoredByteCount() const
{
    std::lock_guard<std::mutex> guard(lock);
    return ignoredBytes;
}

int SimulatedBikeComputer::rejectedFrameCount() const
{
    std::lock_guard<std::mutex> guard(lock);
    return rejectedFrames;
}

int SimulatedBikeComputer::answerCount() const
{
    std::lock_guard<std::mutex> guard(lock);
    return answersSent;
}

void SimulatedBikeComputer::unplug()
{
    stopThread();
    line.unplug();
    plugged = false;
}

void SimulatedBikeComputer::stopThread()
{
    stopping = true;
    if (wakeFd >= 0) {
        const quint64 one = 1;
        [[maybe_unused]] const ssize_t written = ::write(wakeFd, &one, sizeof one);
    }
    if (worker.joinable())
        worker.join();
}

void SimulatedBikeComputer::run()
{
    ::pthread_setname_np(::pthread_self(), "velosim");
    while (!stopping && line.isOpen()) {
        const short lineEvents = isBabbling() ? POLLIN | POLLOUT : POLLIN;
        pollfd watched[2] = {{line.deviceFd(), lineEvents, 0}, {wakeFd, POLLIN, 0}};
        const int ready = ::poll(watched, 2, int(LineWatchInterval.count()));
        if (stopping)
            break;
        watchLine();
        if (ready > 0 && (watched[0].revents & POLLOUT))
            babble();
        if (ready > 0 && (watched[0].revents & POLLIN)) {
            const QByteArray bytes = line.readAvailable();
            if (!bytes.isEmpty()) {
                watchLine(); // the speed the bytes came at, not the one before they came
                receive(bytes);
            }
        }
    }
}

bool SimulatedBikeComputer::isBabbling() const
{
    std::lock_guard<std::mutex> guard(lock);
    return faultMode == FaultMode::BabblingLine;
}

void SimulatedBikeComputer::babble()
{
    static const QByteArray noise = noiseBytes().repeated(4096 / noiseBytes().size());
    const qint64 written = line.writeSome(noise);
    if (written > 0)
        babbledBytes += written;
}

void SimulatedBikeComputer::watchLine()
{
    const qint32 speed = line.lineSpeed();
    lastLineSpeed = speed;
    if (speeds.observe(speed)) {
        codec.reset();
        currentDeviceSpeed = speeds.speed();
    }
}

void SimulatedBikeComputer::receive(const QByteArray &bytes)
{
    const qint32 speed = lastLineSpeed.load();
    if (!speeds.understands(speed)) {
        codec.reset();
        std::lock_guard<std::mutex> guard(lock);
        ignoredBytes += bytes.size();
        return;
    }
    const auto now = Clock::now();
    if (now - lastReceivedAt > FramePauseLimit)
        codec.reset();
    lastReceivedAt = now;
    const auto byteTime = DeviceLine::byteTime(speed);
    receiveLineFreeAt = std::max(receiveLineFreeAt, now);
    for (char byte : bytes) {
        receiveLineFreeAt += byteTime;
        if (std::optional<RequestFrame> frame = codec.push(quint8(byte)))
            handle(*frame, receiveLineFreeAt);
        if (stopping || !line.isOpen())
            return;
    }
}

void SimulatedBikeComputer::handle(const RequestFrame &frame, Clock::time_point completeAt)
{
    if (!frame.checksumOk) {
        std::lock_guard<std::mutex> guard(lock);
        ++rejectedFrames;
        return;
    }
    if (!waitUntil(completeAt))
        return;

    QByteArray answer;
    bool unplugNow = false;
    bool unplugAfterAnswer = false;
    bool firmwareRestarts = false;
    std::chrono::milliseconds answerDelay{0};
    bool repeat = false;
    FaultMode mode;
    {
        std::lock_guard<std::mutex> guard(lock);
        log.append(Request{frame.code, frame.payload, speeds.speed(), completeAt, false});
        mode = faultMode;
        // Without its firmware the device knows nothing but firmware blocks.
        const bool understood = !bootLoader.isActive() || frame.code == FirmwareBlock;
        const Handler handler = understood ? handlers.value(frame.code) : Handler();
        if (faultSwallows(frame))
            return;
        std::optional<QByteArray> payload;
        if (handler)
            payload = handler(deviceValues, frame);
        if (!payload || mode == FaultMode::Silent || mode == FaultMode::BabblingLine)
            return;
        firmwareRestarts = frame.code == FirmwareBlock && bootLoader.isComplete();
        if (mode == FaultMode::UnplugAfter && answersSinceFault >= faultCount) {
            unplugNow = true;
        } else {
            ++answersSinceFault;
            if (mode == FaultMode::DropNthAnswer && answersSinceFault == faultCount)
                return;
            unplugAfterAnswer = mode == FaultMode::UnplugAfter && answersSinceFault >= faultCount;
            if (mode == FaultMode::UnknownId && frame.code == ReadDeviceId)
                payload = encoder.deviceId(UnknownModelId);
            if (mode == FaultMode::AnotherModelId && frame.code == ReadDeviceId)
                payload = encoder.deviceId(quint8(faultCount));
            if (mode == FaultMode::WrongLength) {
                if (payload->isEmpty())
                    payload->append('\0');
                else
                    payload->chop(1);
            }
            answer = FrameCodec::encode(answerCodeFor(frame.code), *payload);
            if (mode == FaultMode::CorruptChecksum)
                answer[answer.size() - 1] = char(quint8(answer.back()) + 1);
            if (mode == FaultMode::NoiseBeforeAnswer)
                answer.prepend(noiseBytes());
            repeat = mode == FaultMode::DuplicateAnswer && (faultCount == 0 || answersSinceFault == faultCount);
            if (mode == FaultMode::SlowAnswers)
                answerDelay = std::chrono::milliseconds(faultCount);
            log.last().answered = true;
            ++answersSent;
        }
    }
    if (unplugNow) {
        unplugFromDevice(false);
        return;
    }
    if (!delayAnswer(answer, completeAt, answerDelay) || !sendPaced(answer))
        return;
    if (firmwareRestarts) {
        std::lock_guard<std::mutex> guard(lock);
        bootLoader.leave();
        speeds.leaveBootLoader();
    } else if (frame.code == ReadDeviceId && mode != FaultMode::UnknownId)
        speeds.identified();
    else if (frame.code == CloseSession)
        speeds.sessionClosed();
    currentDeviceSpeed = speeds.speed();
    // A repeated identification answer comes at the session's speed, as a device in session sends it.
    if (repeat && (!awaitPcAtDeviceSpeed() || !sendPaced(answer)))
        return;
    if (unplugAfterAnswer)
        unplugFromDevice(true);
}

bool SimulatedBikeComputer::faultSwallows(const RequestFrame &frame)
{
    if (silencedByFault)
        return true;
    const bool block = frame.code == FirmwareBlock && !frame.payload.isEmpty();
    const int index = block ? quint8(frame.payload.at(0)) : -1;
    switch (faultMode) {
    case FaultMode::UnacknowledgedWrite:
        return WriteDecoder::isWrite(frame.code);
    case FaultMode::DropBlockAck:
        if (index != faultCount || blockAckDropped)
            return false;
        blockAckDropped = true;
        bootLoader.store(frame.payload); // the block arrived; only its acknowledgement is lost
        return true;
    case FaultMode::SilentAfterBlock:
        silencedByFault = index == faultCount;
        return false;
    case FaultMode::SilentAfterFirmware:
        silencedByFault = frame.code == ReadFirmwareVersion;
        return false;
    default:
        return false;
    }
}

bool SimulatedBikeComputer::awaitPcAtDeviceSpeed()
{
    const auto giveUpAt = Clock::now() + UnplugDrainTimeout;
    while (line.lineSpeed() != speeds.speed() && Clock::now() < giveUpAt) {
        if (!waitUntil(Clock::now() + std::chrono::milliseconds(2)))
            return false;
    }
    return true;
}

void SimulatedBikeComputer::unplugFromDevice(bool letPcTakeAnswer)
{
    if (letPcTakeAnswer)
        awaitPcTakingAnswer();
    line.unplug();
    plugged = false;
}

void SimulatedBikeComputer::awaitPcTakingAnswer()
{
    // A hang-up discards what the PC side has not read yet, and the answer went out before the
    // plug was pulled, so let it arrive. How much the PC side still has to read proves nothing:
    // the kernel hands written bytes on to it only when its worker gets to them, which a busy
    // machine delays. The PC asks its next question only once it has taken the answer.
    const auto giveUpAt = Clock::now() + UnplugDrainTimeout;
    while (Clock::now() < giveUpAt) {
        pollfd request{line.deviceFd(), POLLIN, 0};
        if (::poll(&request, 1, 0) > 0 && (request.revents & POLLIN))
            return;
        if (!waitUntil(Clock::now() + std::chrono::milliseconds(2)))
            return;
    }
}

bool SimulatedBikeComputer::sendPaced(const QByteArray &bytes)
{
    const qint32 speed = speeds.speed();
    const auto byteTime = DeviceLine::byteTime(speed);
    Clock::time_point due = Clock::now();
    for (char byte : bytes) {
        // A byte reaches the other end only once its stop bit is through.
        due += byteTime;
        if (!waitUntil(due))
            return false;
        const bool heard = line.lineSpeed() == speed;
        if (!line.writeByte(heard ? byte : '\0'))
            return false;
    }
    return true;
}

bool SimulatedBikeComputer::delayAnswer(const QByteArray &answer, Clock::time_point requestCompleteAt,
                                        std::chrono::milliseconds delay)
{
    const auto wireTime = DeviceLine::byteTime(speeds.speed()) * answer.size();
    return waitUntil(requestCompleteAt + delay - wireTime);
}

bool SimulatedBikeComputer::waitUntil(Clock::time_point deadline)
{
    for (;;) {
        if (stopping)
            return false;
        const auto now = Clock::now();
        if (now >= deadline)
            return true;
        const timespec left = toTimespec(deadline - now);
        pollfd wake{wakeFd, POLLIN, 0};
        ::ppoll(&wake, 1, &left, nullptr);
    }
}
