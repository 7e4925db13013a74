// SPDX-License-Identifier: GPL-3.0-or-later
#include "linkhub/TunedockCommand.h"
#include "tools/simulator/FrameCodec.h"
#include "tools/simulator/SimulatedBikeComputer.h"

#include <QFile>
#include <QTest>

#include <cerrno>
#include <chrono>
#include <fcntl.h>
#include <memory>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

Q_DECLARE_METATYPE(FaultMode)

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

// Generous: the machine is shared and may run the test under a thread sanitizer.
constexpr std::chrono::milliseconds AnswerWait{3000};
// Longer than any answer of these tests takes at 600 baud, request included.
constexpr std::chrono::milliseconds QuietWindow{700};

/// The PC's end of the line, opened with nothing but POSIX calls.
class PcSide
{
public:
    explicit PcSide(const QString &portName)
    {
        fd = ::open(portName.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    }
    ~PcSide()
    {
        if (fd >= 0)
            ::close(fd);
    }

    bool isOpen() const { return fd >= 0; }

    bool setSpeed(speed_t speed)
    {
        termios settings{};
        if (::tcgetattr(fd, &settings) != 0)
            return false;
        ::cfmakeraw(&settings);
        ::cfsetispeed(&settings, speed);
        ::cfsetospeed(&settings, speed);
        return ::tcsetattr(fd, TCSANOW, &settings) == 0;
    }

    bool write(const QByteArray &bytes) { return ::write(fd, bytes.constData(), bytes.size()) == bytes.size(); }

    bool sendRequest(quint8 code, const QByteArray &payload = QByteArray())
    {
        return write(FrameCodec::encode(code, payload));
    }

    /// Bytes received until a whole frame (with whatever precedes it) is in, or the time is up.
    QByteArray readFrame(std::chrono::milliseconds timeout = AnswerWait)
    {
        const auto deadline = Clock::now() + timeout;
        while (!frameComplete() && Clock::now() < deadline) {
            if (!readSome(deadline))
                break;
        }
        const QByteArray taken = received;
        received.clear();
        return taken;
    }

    /// Everything received within the window.
    QByteArray readFor(std::chrono::milliseconds window)
    {
        const auto deadline = Clock::now() + window;
        while (Clock::now() < deadline) {
            if (!readSome(deadline))
                break;
        }
        const QByteArray taken = received;
        received.clear();
        return taken;
    }

    /// True when the far end has hung up.
    bool hungUp(std::chrono::milliseconds timeout)
    {
        pollfd watched{fd, POLLIN, 0};
        if (::poll(&watched, 1, int(timeout.count())) <= 0)
            return false;
        if (watched.revents & (POLLHUP | POLLERR))
            return true;
        char byte;
        const ssize_t count = ::read(fd, &byte, 1);
        return count == 0 || (count < 0 && errno == EIO);
    }

private:
    bool frameComplete() const
    {
        const int start = received.indexOf("\xFF\x55");
        if (start < 0 || received.size() < start + 4)
            return false;
        return received.size() >= start + 5 + quint8(received.at(start + 3));
    }

    bool readSome(Clock::time_point deadline)
    {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
        pollfd watched{fd, POLLIN, 0};
        if (::poll(&watched, 1, int(std::max<long long>(left.count(), 0))) <= 0)
            return true;
        if (watched.revents & (POLLHUP | POLLERR))
            return false;
        char buffer[256];
        const ssize_t count = ::read(fd, buffer, sizeof buffer);
        if (count <= 0)
            return count < 0 && errno == EAGAIN;
        received.append(buffer, count);
        return true;
    }

    int fd = -1;
    QByteArray received;
};

QByteArray frame(const char *hex)
{
    return QByteArray::fromHex(hex);
}

/// One set of values, distinct per field, from which the expected answer bytes were worked out by hand.
ModelData layoutValues(const DeviceModel *model)
{
    ModelData values(model);
    values.altitudeParamA = 0x0102;
    values.altitudeParamB = 0x0304;
    values.dailyMaxTemp = 31;
    values.dailyMinTemp = -10;
    values.bikes[0].altGain = 0x11121314;
    values.bikes[0].altLoss = 0x15161718;
    values.bikes[0].maxAlt = 0x191A;
    values.bikes[1].altGain = 0x21222324;
    values.bikes[1].altLoss = 0x25262728;
    values.bikes[1].maxAlt = 0x292A;
    values.dailyAltGain = 0x31323334;
    values.dailyAltLoss = 0x35363738;
    values.dailyMaxAlt = 0x393A;
    values.ascentAvgGradient = 0x4142;
    values.ascentMaxGradient = 0x4344;
    values.descentAvgGradient = 0x4546;
    values.descentMaxGradient = 0x4748;
    values.ascentAvgVario = 0x494A;
    values.ascentMaxVario = 0x4B4C;
    values.descentAvgVario = 0x4D4E;
    values.descentMaxVario = 0x4F50;
    values.altitudeFlagA = true;
    values.altitudeFlagB = false;
    values.altitudeFlagC = true;
    values.currentBike = 1;
    values.heartRateParamA = 0x61;
    values.heartRateParamWord = 0x6263;
    values.heartRateParamB = 0x64;
    values.heartRateParamC = 0x65;
    values.heartRateParamD = 0x66;
    values.heartRateParamE = 0x67;
    values.avgHeartRate = 0x68;
    values.maxHeartRate = 0x69;
    values.hrLowerZoneSec = 1;
    values.hrLowerZoneMin = 2;
    values.hrLowerZoneHour = 3;
    values.hrInZoneSec = 4;
    values.hrInZoneMin = 5;
    values.hrInZoneHour = 6;
    values.hrUpperZoneSec = 7;
    values.hrUpperZoneMin = 8;
    values.hrUpperZoneHour = 9;
    values.dailyCalories = 123456; // 123456000 cal = 0x075BCA00
    values.heartRateFlagA = 0;
    values.heartRateFlagB = true;
    values.year = 13;
    values.month = 12;
    values.day = 31;
    values.hour = 23;
    values.minute = 59;
    values.second = 58;
    values.clockFlag = true;
    Bike &one = values.bikes[0];
    one.dailyDistance = 0x81828384;
    one.totalDistance = 10000000000ull; // 00 E4 0B 54 02 00 00 00
    one.bikeParamWord = 0x8586;
    one.bikeParamByte = 0x87;
    one.rideTimeSec = 0x0A;
    one.rideTimeMin = 0x0B;
    one.rideTimeHour = 0x0C;
    one.avgSpeed = 0x8889;
    one.maxSpeed = 0x8A8B;
    one.avgCadence = 0x8C;
    one.maxCadence = 0x8D;
    one.bikeFlagA = true;
    one.bikeFlagB = false;
    one.bikeFlagC = true;
    one.bikeExtraByte = 0x8E;
    one.bikeAuxWord = 0x9192;
    one.bikeAuxFlag = false;
    Bike &two = values.bikes[1];
    two.dailyDistance = 0xA1A2A3A4;
    two.totalDistance = 0x0102030405060708ull;
    two.bikeParamWord = 0xA5A6;
    two.bikeParamByte = 0xA7;
    two.rideTimeSec = 0x1A;
    two.rideTimeMin = 0x1B;
    two.rideTimeHour = 0x1C;
    two.avgSpeed = 0xA8A9;
    two.maxSpeed = 0xAAAB;
    two.avgCadence = 0xAC;
    two.maxCadence = 0xAD;
    two.bikeFlagA = false;
    two.bikeFlagB = true;
    two.bikeFlagC = false;
    two.bikeExtraByte = 0xAE;
    two.bikeAuxWord = 0xB1B2;
    two.bikeAuxFlag = true;
    values.unitSystem = 1;
    values.firmwareVersion = 21;
    values.modelOption = 0xC5;
    return values;
}

speed_t termiosSpeed(qint32 baud)
{
    return baud == 9600 ? B9600 : B600;
}

} // namespace

class tst_SimulatedBikeComputer : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<SimulatedBikeComputer> device;
    std::unique_ptr<PcSide> pc;

    /// Starts a device of the model and opens the PC side at 600 baud.
    bool plugIn(quint8 modelId)
    {
        device = std::make_unique<SimulatedBikeComputer>(modelId);
        if (!device->start())
            return false;
        pc = std::make_unique<PcSide>(device->portName());
        return pc->isOpen() && pc->setSpeed(B600);
    }

    /// Identifies the device at 600 baud and follows it to its model's speed.
    bool identify()
    {
        if (!pc->sendRequest(ReadDeviceId))
            return false;
        const QByteArray answer = pc->readFrame();
        if (answer.size() != 6 || quint8(answer.at(2)) != DeviceIdData)
            return false;
        return pc->setSpeed(termiosSpeed(device->model()->baudRate));
    }

private slots:
    void cleanup()
    {
        pc.reset();
        device.reset();
    }

    void identificationAnswer_data()
    {
        QTest::addColumn<int>("modelId");
        QTest::addColumn<int>("modelSpeed");
        QTest::newRow("Lumo 10") << 0x11 << 600;
        QTest::newRow("Lumo 20") << 0x21 << 9600;
        QTest::newRow("Lumo 30") << 0x12 << 600;
        QTest::newRow("Lumo 40") << 0x22 << 9600;
        QTest::newRow("Lumo 50") << 0x23 << 9600;
        QTest::newRow("Lumo 60") << 0x51 << 9600;
        QTest::newRow("Lumo 70") << 0x61 << 9600;
    }

    void identificationAnswer()
    {
        QFETCH(int, modelId);
        QFETCH(int, modelSpeed);
        QVERIFY(plugIn(quint8(modelId)));
        QCOMPARE(device->deviceSpeed(), 600);
        QVERIFY(pc->write(frame("ff55120012")));
        QByteArray expected = frame("ff559201");
        expected.append(char(modelId));
        expected.append(char(0x93 + modelId));
        QCOMPARE(pc->readFrame().toHex(), expected.toHex());
        QCOMPARE(device->requestCodes(), QList<quint8>{ReadDeviceId});
        QCOMPARE(device->requests().first().lineSpeed, 600);
        QTRY_COMPARE_WITH_TIMEOUT(device->deviceSpeed(), modelSpeed, int(AnswerWait.count()));
    }

    void requestAtWrongSpeedIsIgnored()
    {
        QVERIFY(plugIn(0x23));
        QVERIFY(pc->setSpeed(B9600));
        QVERIFY(pc->write(frame("ff55120012")));
        QCOMPARE(pc->readFor(QuietWindow).toHex(), QByteArray());
        QCOMPARE(device->ignoredByteCount(), 5);
        QVERIFY(device->requests().isEmpty());

        QVERIFY(pc->setSpeed(B600));
        QVERIFY(pc->write(frame("ff55120012")));
        QCOMPARE(pc->readFrame().toHex(), frame("ff55920123b6").toHex());
    }

    void followsTheLineThroughASession()
    {
        QVERIFY(plugIn(0x21));
        QVERIFY(pc->sendRequest(ReadDeviceId));
        QCOMPARE(pc->readFrame().size(), 6);
        QTRY_COMPARE_WITH_TIMEOUT(device->deviceSpeed(), 9600, int(AnswerWait.count()));

        // The PC has not followed to 9600 yet: its request is not understood.
        QVERIFY(pc->sendRequest(ReadDateTime));
        QCOMPARE(pc->readFor(QuietWindow).toHex(), QByteArray());
        QCOMPARE(device->ignoredByteCount(), 5);

        QVERIFY(pc->setSpeed(B9600));
        QVERIFY(pc->sendRequest(ReadDateTime));
        QCOMPARE(quint8(pc->readFrame().at(2)), DateTimeData);

        // Leaving the session's speed ends the session; the device listens at 600 again.
        QVERIFY(pc->setSpeed(B600));
        QTRY_COMPARE_WITH_TIMEOUT(device->deviceSpeed(), 600, int(AnswerWait.count()));
        QVERIFY(pc->sendRequest(ReadDeviceId));
        QCOMPARE(pc->readFrame().size(), 6);

        // CloseSession is answered at the session's speed, then the device is back at 600.
        QVERIFY(pc->setSpeed(B9600));
        QVERIFY(pc->sendRequest(CloseSession));
        QCOMPARE(pc->readFrame().toHex(), frame("ff55e300e3").toHex());
        QTRY_COMPARE_WITH_TIMEOUT(device->deviceSpeed(), 600, int(AnswerWait.count()));

        const QList<SimulatedBikeComputer::Request> requests = device->requests();
        QCOMPARE(requests.size(), 4);
        const QList<qint32> speeds{requests[0].lineSpeed, requests[1].lineSpeed, requests[2].lineSpeed,
                                   requests[3].lineSpeed};
        QCOMPARE(speeds, (QList<qint32>{600, 9600, 600, 9600}));
        for (int i = 1; i < requests.size(); ++i)
            QVERIFY(requests[i - 1].receivedAt < requests[i].receivedAt);
    }

    void answersArePaced_data()
    {
        QTest::addColumn<int>("modelId");
        QTest::addColumn<int>("request");
        QTest::addColumn<int>("answerLength");
        QTest::newRow("clock of Lumo 10 at 600") << 0x11 << int(ReadDateTime) << 7;
        QTest::newRow("altitude of Lumo 50 at 9600") << 0x23 << int(ReadAltitude) << 53;
    }

    void answersArePaced()
    {
        QFETCH(int, modelId);
        QFETCH(int, request);
        QFETCH(int, answerLength);
        QVERIFY(plugIn(quint8(modelId)));
        QVERIFY(identify());
        const qint32 baud = device->model()->baudRate;
        const auto start = Clock::now();
        QVERIFY(pc->sendRequest(quint8(request)));
        const QByteArray answer = pc->readFrame();
        const auto elapsed = Clock::now() - start;
        QCOMPARE(answer.size(), answerLength + 5);

        const auto wireTime = DeviceLine::byteTime(baud) * (5 + answer.size());
        QVERIFY2(elapsed >= wireTime * 9 / 10,
                 qPrintable(QStringLiteral("%1 us for %2 us of wire time")
                                .arg(std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count())
                                .arg(std::chrono::duration_cast<std::chrono::microseconds>(wireTime).count())));
        if (baud != 600) // paced at the session's speed, not at the identification speed
            QVERIFY(elapsed < DeviceLine::byteTime(600) * answer.size());
    }

    void answerLayouts_data()
    {
        QTest::addColumn<int>("modelId");
        QTest::addColumn<int>("request");
        QTest::addColumn<QByteArray>("payload");
        QTest::newRow("altitude, Lumo 50")
            << 0x23 << int(ReadAltitude)
            << frame("02010403"
                     "1ff6"
                     "14131211" "18171615" "1a19"
                     "24232221" "28272625" "2a29"
                     "34333231" "38373635" "3a39"
                     "42414443464548474a494c4b4e4d504f"
                     "05");
        QTest::newRow("current bike, Lumo 40") << 0x22 << int(ReadCurrentBike) << frame("01");
        QTest::newRow("heart rate with calories, Lumo 40")
            << 0x22 << int(ReadHeartRate)
            << frame("61636264656667" "6869" "010203040506070809" "00ca5b07" "02");
        QTest::newRow("clock, Lumo 20") << 0x21 << int(ReadDateTime) << frame("0d0c1f173b3a01");
        QTest::newRow("one-bike settings, Lumo 10")
            << 0x11 << int(ReadBikeSettings) << frame("00e40b5402" "8685" "01");
        QTest::newRow("bike 1, Lumo 50")
            << 0x23 << int(ReadBike1Settings)
            << frame("84838281" "00e40b5402000000" "8685" "87" "0a0b0c" "8988" "8b8a" "8c" "8d" "03");
        QTest::newRow("bike 2 with extension, Lumo 60")
            << 0x51 << int(ReadBike2Settings)
            << frame("a4a3a2a1" "0807060504030201" "a6a5" "a7" "1a1b1c" "a9a8" "abaa" "ac" "ad" "05" "ae");
        QTest::newRow("aux, one bike, Lumo 30") << 0x12 << int(ReadBikeAux) << frame("9291" "00");
        QTest::newRow("aux, two bikes, Lumo 60") << 0x51 << int(ReadBikeAux) << frame("9291" "b2b1" "02");
        QTest::newRow("firmware in BCD, Lumo 60") << 0x51 << int(ReadFirmwareVersion) << frame("21");
        QTest::newRow("option byte, Lumo 60") << 0x51 << int(ReadModelOption) << frame("c5");
        QTest::newRow("short altitude, Lumo 70") << 0x61 << int(ReadAltitude) << frame("02010403" "05");
        QTest::newRow("short heart rate, Lumo 70")
            << 0x61 << int(ReadHeartRate) << frame("61636264656667" "02");
        QTest::newRow("short bike 1, Lumo 70")
            << 0x61 << int(ReadBike1Settings) << frame("84838281" "00e40b5402000000" "8685" "87" "03");
        QTest::newRow("session closed, Lumo 40") << 0x22 << int(CloseSession) << QByteArray();
    }

    void answerLayouts()
    {
        QFETCH(int, modelId);
        QFETCH(int, request);
        QFETCH(QByteArray, payload);
        QVERIFY(plugIn(quint8(modelId)));
        device->setValues(layoutValues(device->model()));
        QVERIFY(identify());
        QVERIFY(pc->sendRequest(quint8(request)));
        const QByteArray answer = pc->readFrame();
        QCOMPARE(answer.toHex(), FrameCodec::encode(answerCodeFor(quint8(request)), payload).toHex());
    }

    void requestsTheModelLacksGoUnanswered_data()
    {
        QTest::addColumn<int>("modelId");
        QTest::addColumn<int>("request");
        QTest::newRow("altitude, Lumo 10") << 0x11 << int(ReadAltitude);
        QTest::newRow("heart rate, Lumo 20") << 0x21 << int(ReadHeartRate);
        QTest::newRow("current bike, Lumo 30") << 0x12 << int(ReadCurrentBike);
        QTest::newRow("two-bike settings, Lumo 10") << 0x11 << int(ReadBike1Settings);
        QTest::newRow("one-bike settings, Lumo 50") << 0x23 << int(ReadBikeSettings);
        QTest::newRow("option byte, Lumo 70") << 0x61 << int(ReadModelOption);
        QTest::newRow("a write, Lumo 60") << 0x51 << int(WriteCurrentBike);
    }

    void requestsTheModelLacksGoUnanswered()
    {
        QFETCH(int, modelId);
        QFETCH(int, request);
        QVERIFY(plugIn(quint8(modelId)));
        QVERIFY(identify());
        QVERIFY(pc->sendRequest(quint8(request)));
        QCOMPARE(pc->readFor(QuietWindow).toHex(), QByteArray());
        const QList<SimulatedBikeComputer::Request> requests = device->requests();
        QCOMPARE(requests.size(), 2);
        QCOMPARE(int(requests.last().code), request);
        QVERIFY(!requests.last().answered);
    }

    void faultsChangeTheIdentificationAnswer_data()
    {
        QTest::addColumn<FaultMode>("mode");
        QTest::addColumn<int>("count");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("speedAfter");
        QTest::newRow("none") << FaultMode::None << 0 << frame("ff55920123b6") << 9600;
        QTest::newRow("silent") << FaultMode::Silent << 0 << QByteArray() << 600;
        QTest::newRow("corrupt checksum") << FaultMode::CorruptChecksum << 0 << frame("ff55920123b7") << 9600;
        QTest::newRow("noise") << FaultMode::NoiseBeforeAnswer << 0 << frame("003ca5ff55920123b6") << 9600;
        QTest::newRow("wrong length") << FaultMode::WrongLength << 0 << frame("ff55920092") << 9600;
        QTest::newRow("unknown id") << FaultMode::UnknownId << 0 << frame("ff559201992c") << 600;
        // The PC side here never follows the device to 9600 baud, so it hears the repeat as zeros.
        const QByteArray unheardRepeat(6, '\0');
        QTest::newRow("every answer twice") << FaultMode::DuplicateAnswer << 0 << frame("ff55920123b6") + unheardRepeat << 9600;
        QTest::newRow("first answer twice") << FaultMode::DuplicateAnswer << 1 << frame("ff55920123b6") + unheardRepeat << 9600;
        QTest::newRow("second answer twice") << FaultMode::DuplicateAnswer << 2 << frame("ff55920123b6") << 9600;
        QTest::newRow("slow") << FaultMode::SlowAnswers << 400 << frame("ff55920123b6") << 9600;
        // A Lumo 50 that names itself a Lumo 20: the speed it goes to is its own.
        QTest::newRow("another model's id") << FaultMode::AnotherModelId << 0x21 << frame("ff55920121b4") << 9600;
    }

    void faultsChangeTheIdentificationAnswer()
    {
        QFETCH(FaultMode, mode);
        QFETCH(int, count);
        QFETCH(QByteArray, bytes);
        QFETCH(int, speedAfter);
        QVERIFY(plugIn(0x23));
        device->setFault(mode, count);
        QVERIFY(pc->sendRequest(ReadDeviceId));
        const auto sentAt = Clock::now();
        QByteArray received = pc->readFor(bytes.isEmpty() ? QuietWindow : 0ms);
        while (received.size() < bytes.size()) {
            const QByteArray more = pc->readFrame();
            if (more.isEmpty())
                break;
            received += more;
        }
        QCOMPARE(received.toHex(), bytes.toHex());
        if (mode == FaultMode::SlowAnswers)
            QVERIFY(Clock::now() - sentAt >= std::chrono::milliseconds(count));
        QCOMPARE(device->requestCodes(), QList<quint8>{ReadDeviceId});
        QTRY_COMPARE_WITH_TIMEOUT(device->deviceSpeed(), speedAfter, int(AnswerWait.count()));
    }

    void dropsOnlyTheNthAnswer()
    {
        QVERIFY(plugIn(0x11));
        QVERIFY(identify());
        device->setFault(FaultMode::DropNthAnswer, 2);
        QVERIFY(pc->sendRequest(ReadDateTime));
        QCOMPARE(pc->readFrame().size(), 12);
        QVERIFY(pc->sendRequest(ReadDateTime));
        QCOMPARE(pc->readFor(QuietWindow).toHex(), QByteArray());
        QVERIFY(pc->sendRequest(ReadDateTime));
        QCOMPARE(pc->readFrame().size(), 12);
        QCOMPARE(device->requests().size(), 4);
        QCOMPARE(device->answerCount(), 3);
    }

    void unplugsAfterTheGivenAnswers()
    {
        QVERIFY(plugIn(0x21));
        device->setFault(FaultMode::UnplugAfter, 1);
        QVERIFY(pc->sendRequest(ReadDeviceId));
        QCOMPARE(pc->readFrame().size(), 6);
        QTRY_VERIFY_WITH_TIMEOUT(!device->isPlugged(), int(AnswerWait.count()));
        QVERIFY(pc->hungUp(AnswerWait));
    }

    void unplugByHand()
    {
        QVERIFY(plugIn(0x51));
        QVERIFY(device->isPlugged());
        device->unplug();
        QVERIFY(!device->isPlugged());
        QVERIFY(pc->hungUp(AnswerWait));
        QVERIFY(!QFile::exists(device->portName()));
    }

    void rejectsABadChecksum()
    {
        QVERIFY(plugIn(0x23));
        QVERIFY(pc->write(frame("ff55120013")));
        QCOMPARE(pc->readFor(QuietWindow).toHex(), QByteArray());
        QCOMPARE(device->rejectedFrameCount(), 1);
        QVERIFY(device->requests().isEmpty());
        // The next frame is taken normally, noise before it or not.
        QVERIFY(pc->write(frame("0102ffff55120012")));
        QCOMPARE(pc->readFrame().toHex(), frame("ff55920123b6").toHex());
    }

    void framePartCutOffByAPauseIsDropped()
    {
        // A PC that went away in the middle of a request leaves its start on the line; the next
        // program's request, after a pause no frame has inside it, is taken whole.
        QVERIFY(plugIn(0x51));
        QVERIFY(pc->write(frame("ff55")));
        QTest::qWait(int(2 * SimulatedBikeComputer::FramePauseLimit.count()));
        QVERIFY(pc->write(frame("ff55120012")));
        QCOMPARE(pc->readFrame().toHex(), frame("ff55920151e4").toHex());
    }

    void firmwareBlocksCarryTwoLengthBytes()
    {
        FrameCodec codec;
        QByteArray packet = frame("75010800");
        QByteArray data(2048, '\0');
        for (int i = 0; i < data.size(); ++i)
            data[i] = char(i * 7);
        packet.append(data);
        packet.append(char(FrameCodec::checksum(packet)));
        packet.prepend(frame("ff55"));

        std::optional<RequestFrame> result;
        int completed = 0;
        for (char byte : packet) {
            if (auto done = codec.push(quint8(byte))) {
                result = done;
                ++completed;
            }
        }
        QCOMPARE(completed, 1);
        QCOMPARE(int(result->code), int(FirmwareBlock));
        QVERIFY(result->checksumOk);
        QCOMPARE(result->payload.size(), 2049);
        QCOMPARE(result->payload.at(0), '\0');
        QCOMPARE(result->payload.mid(1), data);
    }

    void unknownModelDoesNotStart()
    {
        SimulatedBikeComputer unknown(0x13);
        QVERIFY(unknown.model() == nullptr);
        QVERIFY(!unknown.start());
        QVERIFY(!unknown.errorString().isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_SimulatedBikeComputer)
#include "tst_simulatedbikecomputer.moc"
