// SPDX-License-Identifier: GPL-3.0-or-later
#include "VelotoolProcess.h"

#include "linkhub/TunedockCommand.h"
#include "tools/simulator/SimulatedBikeComputer.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>
#include <unistd.h>

namespace {

constexpr std::chrono::milliseconds ProgressWait{10000};

const QString SupportedList = QStringLiteral("Lumo 20, Lumo 40, Lumo 50, Lumo 60");

// The full text output for the simulated Lumo 60's sample day.
const QString Lumo60Text = QStringLiteral(
    "Device\n"
    "  Model:                     Lumo 60\n"
    "  Model id:                  0x51\n"
    "  Firmware:                  15\n"
    "  Units:                     metric\n"
    "  Device clock:              2024-03-16 17:42:08\n"
    "  Current bike:              2\n"
    "\n"
    "Bike 1\n"
    "  Distance (daily):          48.731 km\n"
    "  Ride time:                 01:52:37\n"
    "  Average speed:             25.9 km/h\n"
    "  Maximum speed:             61.2 km/h\n"
    "  Average cadence:           84 rpm\n"
    "  Maximum cadence:           117 rpm\n"
    "  Altitude gain:             812.0 m\n"
    "  Altitude loss:             798.0 m\n"
    "  Maximum altitude:          1260.0 m\n"
    "  Odometer:                  12345.7 km\n"
    "\n"
    "Bike 2\n"
    "  Distance (daily):          12.300 km\n"
    "  Ride time:                 00:41:05\n"
    "  Average speed:             18.1 km/h\n"
    "  Maximum speed:             39.8 km/h\n"
    "  Average cadence:           71 rpm\n"
    "  Maximum cadence:           96 rpm\n"
    "  Altitude gain:             143.0 m\n"
    "  Altitude loss:             150.0 m\n"
    "  Maximum altitude:          655.0 m\n"
    "  Odometer:                  4321.1 km\n"
    "\n"
    "Altitude and temperature\n"
    "  Altitude gain:             955.0 m\n"
    "  Altitude loss:             948.0 m\n"
    "  Maximum altitude:          1260.0 m\n"
    "  Ascent gradient, average:  5 %\n"
    "  Ascent gradient, maximum:  14 %\n"
    "  Descent gradient, average: 6 %\n"
    "  Descent gradient, maximum: 17 %\n"
    "  Ascent rate, average:      612 m/h\n"
    "  Ascent rate, maximum:      1380 m/h\n"
    "  Descent rate, average:     845 m/h\n"
    "  Descent rate, maximum:     2210 m/h\n"
    "  Temperature, maximum:      14 °C\n"
    "  Temperature, minimum:      -2 °C\n"
    "\n"
    "Heart rate and energy\n"
    "  Heart rate, average:       138 bpm\n"
    "  Heart rate, maximum:       176 bpm\n"
    "  Time below zone:           00:21:14\n"
    "  Time in zone:              01:12:40\n"
    "  Time above zone:           00:18:43\n"
    "  Energy:                    1432 kcal\n");

QJsonObject parseObject(const QString &text)
{
    return QJsonDocument::fromJson(text.toUtf8()).object();
}

QList<quint8> toCodes(std::initializer_list<int> codes)
{
    QList<quint8> list;
    for (int code : codes)
        list << quint8(code);
    return list;
}

} // namespace

class tst_VelotoolRead : public QObject
{
    Q_OBJECT

private:
    /// A simulated bike computer started by the test, for velotool to reach with --port.
    static std::unique_ptr<SimulatedBikeComputer> startDevice(quint8 modelId, FaultMode fault = FaultMode::None,
                                                              int faultCount = 0)
    {
        auto device = std::make_unique<SimulatedBikeComputer>(modelId);
        device->setFault(fault, faultCount);
        if (!device->start())
            return nullptr;
        return device;
    }

    static QStringList readArguments(const QString &port, const QStringList &more = {})
    {
        return QStringList{QStringLiteral("read"), QStringLiteral("--port"), port} + more;
    }

private slots:
    void readsEveryValue_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<QStringList>("groups");
        QTest::addColumn<QJsonObject>("expected");

        QTest::newRow("Lumo 60, metric, every group")
            << "Lumo 60" << QStringList{"altitude", "bike1", "bike2", "device", "heartRate", "units"}
            << QJsonObject{{"device/model", "Lumo 60"}, {"device/modelId", 81}, {"device/firmware", 15},
                           {"device/units", "metric"}, {"device/clock", "2024-03-16T17:42:08"}, {"device/currentBike", 2},
                           {"bike1/distance", 48.731}, {"bike1/rideTime", "01:52:37"}, {"bike1/avgSpeed", 25.9},
                           {"bike1/maxSpeed", 61.2}, {"bike1/avgCadence", 84}, {"bike1/maxCadence", 117},
                           {"bike1/altGain", 812}, {"bike1/odometer", 12345.7}, {"bike2/distance", 12.3},
                           {"bike2/rideTime", "00:41:05"}, {"bike2/maxAlt", 655}, {"altitude/gain", 955},
                           {"altitude/descentMaxVario", 2210}, {"altitude/minTemperature", -2},
                           {"heartRate/average", 138}, {"heartRate/inZone", "01:12:40"},
                           {"heartRate/calories", 1432}, {"units/distance", "km"}, {"units/speed", "km/h"},
                           {"units/temperature", "°C"}};
        QTest::newRow("Lumo 40, imperial, no altitude")
            << "Lumo 40" << QStringList{"bike1", "bike2", "device", "heartRate", "units"}
            << QJsonObject{{"device/modelId", 34}, {"device/firmware", 35}, {"device/units", "imperial"},
                           {"bike1/distance", 30.251}, {"bike1/avgSpeed", 16.1}, {"bike1/maxSpeed", 38.0},
                           {"bike2/distance", 7.643}, {"bike2/maxSpeed", 24.7}, {"bike1/odometer", 7671.2},
                           {"heartRate/maximum", 176}, {"units/distance", "mi"}, {"units/speed", "mph"},
                           {"units/altitude", "ft"}, {"units/temperature", "°F"}};
        QTest::newRow("Lumo 20, no heart rate, no altitude")
            << "Lumo 20" << QStringList{"bike1", "bike2", "device", "units"}
            << QJsonObject{{"device/modelId", 33}, {"device/firmware", 34}, {"bike1/distance", 48.683},
                           {"bike2/avgCadence", 71}, {"device/clock", "2024-03-16T17:42:08"}};
        QTest::newRow("Lumo 50 by id")
            << "0x23" << QStringList{"altitude", "bike1", "bike2", "device", "heartRate", "units"}
            << QJsonObject{{"device/model", "Lumo 50"}, {"device/firmware", 36}, {"bike1/distance", 48.685},
                           {"altitude/maxTemperature", 14}, {"bike2/altLoss", 150}};
    }

    void readsEveryValue()
    {
        QFETCH(QString, model);
        QFETCH(QStringList, groups);
        QFETCH(QJsonObject, expected);
        const VelotoolRun run = VelotoolProcess::run(
            {QStringLiteral("read"), QStringLiteral("--simulate"), model, QStringLiteral("--json"), QStringLiteral("-q")});
        QVERIFY(run.finished);
        QCOMPARE(run.err, QString());
        QCOMPARE(run.exitCode, 0);
        QJsonParseError error;
        const QJsonObject root = QJsonDocument::fromJson(run.out.toUtf8(), &error).object();
        QCOMPARE(error.error, QJsonParseError::NoError);
        QCOMPARE(root.keys(), groups);
        for (auto it = expected.constBegin(); it != expected.constEnd(); ++it) {
            const QJsonValue actual = root.value(it.key().section('/', 0, 0)).toObject().value(it.key().section('/', 1));
            QVERIFY2(!actual.isUndefined(), qPrintable(it.key()));
            if (it.value().isDouble())
                QCOMPARE(actual.toDouble(), it.value().toDouble());
            else
                QCOMPARE(actual, it.value());
        }
    }

    void textOutputAndProgress_data()
    {
        QTest::addColumn<bool>("quiet");
        QTest::newRow("with progress") << false;
        QTest::newRow("quiet") << true;
    }

    void textOutputAndProgress()
    {
        QFETCH(bool, quiet);
        QStringList arguments{QStringLiteral("read"), QStringLiteral("--simulate"), QStringLiteral("Lumo 60")};
        if (quiet)
            arguments << QStringLiteral("--quiet");
        const VelotoolRun run = VelotoolProcess::run(arguments);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, Lumo60Text);
        if (quiet) {
            QCOMPARE(run.err, QString());
            return;
        }
        const QStringList lines = run.errLines();
        QCOMPARE(lines.size(), 16);
        const QRegularExpression started(QStringLiteral("^Simulated Lumo 60 started on (/dev/\\S+)$"));
        const QRegularExpressionMatch match = started.match(lines[0]);
        QVERIFY2(match.hasMatch(), qPrintable(lines[0]));
        const QString port = match.captured(1);
        QCOMPARE(lines.mid(1, 5), (QStringList{QStringLiteral("Opening %1...").arg(port),
                                               QStringLiteral("Waiting for the bike computer to answer..."),
                                               QStringLiteral("Connected"),
                                               QStringLiteral("Model: Lumo 60 (model id 0x51)"),
                                               QStringLiteral("Firmware: 15 (lowest accepted: 12)")}));
        QStringList blocks;
        for (int i = 0; i < 8; ++i) {
            const QRegularExpressionMatch read =
                QRegularExpression(QStringLiteral("^Read (.+) \\(%1 of 8\\)$").arg(i + 1)).match(lines[6 + i]);
            QVERIFY2(read.hasMatch(), qPrintable(lines[6 + i]));
            blocks << read.captured(1);
        }
        blocks.sort();
        QCOMPARE(blocks, (QStringList{"altitude and temperature", "bike 1", "bike 2", "bike extras", "clock",
                                      "current bike", "heart rate and energy", "model option"}));
        QCOMPARE(lines.mid(14), (QStringList{"Closing the session...", "Session closed"}));
    }

    void closesTheSessionPolitely_data()
    {
        QTest::addColumn<int>("modelId");
        QTest::newRow("Lumo 20") << 0x21;
        QTest::newRow("Lumo 40") << 0x22;
        QTest::newRow("Lumo 60") << 0x51;
    }

    void closesTheSessionPolitely()
    {
        QFETCH(int, modelId);
        const auto device = startDevice(quint8(modelId));
        QVERIFY(device);
        const VelotoolRun run = VelotoolProcess::run(readArguments(device->portName(), {QStringLiteral("-q")}));
        QCOMPARE(run.exitCode, 0);
        const QList<quint8> codes = device->requestCodes();
        QVERIFY(codes.size() >= 3);
        QCOMPARE(codes.mid(0, 2), toCodes({ReadDeviceId, ReadFirmwareVersion}));
        for (int request : device->model()->requestCommands)
            QVERIFY2(codes.contains(quint8(request)), qPrintable(QString::number(request, 16)));
        QCOMPARE(codes.count(quint8(CloseSession)), 1);
        QCOMPARE(codes.last(), quint8(CloseSession));
    }

    void refusesUnsupportedModels_data()
    {
        QTest::addColumn<int>("modelId");
        QTest::addColumn<QString>("name");
        QTest::newRow("Lumo 10") << 0x11 << "Lumo 10";
        QTest::newRow("Lumo 30") << 0x12 << "Lumo 30";
        QTest::newRow("Lumo 70") << 0x61 << "Lumo 70";
    }

    void refusesUnsupportedModels()
    {
        QFETCH(int, modelId);
        QFETCH(QString, name);
        const auto device = startDevice(quint8(modelId));
        QVERIFY(device);
        const VelotoolRun run = VelotoolProcess::run(readArguments(device->portName()));
        QCOMPARE(run.exitCode, 5);
        QCOMPARE(run.out, QString());
        QCOMPARE(run.lastErrLine(),
                 QStringLiteral("The %1 (model id 0x%2) is not supported: only rides of %3 can be read and exported.")
                     .arg(name)
                     .arg(modelId, 2, 16, QLatin1Char('0'))
                     .arg(SupportedList));
        QVERIFY(run.errLines().contains(QStringLiteral("Model: %1 (model id 0x%2)").arg(name).arg(modelId, 2, 16, QLatin1Char('0'))));
        // The device identified itself, so the session is closed by asking it. (Models without a
        // firmware check are read by the link at once, so a clock request may still follow.)
        const QList<quint8> codes = device->requestCodes();
        QCOMPARE(codes.first(), quint8(ReadDeviceId));
        QCOMPARE(codes.count(quint8(CloseSession)), 1);
    }

    void refusesUnknownModelIds()
    {
        const auto device = startDevice(0x51, FaultMode::UnknownId);
        QVERIFY(device);
        const VelotoolRun run = VelotoolProcess::run(readArguments(device->portName(), {QStringLiteral("-q")}));
        QCOMPARE(run.exitCode, 5);
        QCOMPARE(run.out, QString());
        QCOMPARE(run.err, QStringLiteral("The device on %1 named a model this program does not know. Only rides of %2 "
                                         "can be read.\n")
                              .arg(device->portName(), SupportedList));
    }

    void checksFirmware_data()
    {
        QTest::addColumn<int>("modelId");
        QTest::addColumn<int>("firmware");
        QTest::addColumn<int>("minimum");
        QTest::addColumn<bool>("accepted");
        QTest::newRow("Lumo 60, 11") << 0x51 << 11 << 12 << false;
        QTest::newRow("Lumo 60, 12") << 0x51 << 12 << 12 << true;
        QTest::newRow("Lumo 20, 29") << 0x21 << 29 << 30 << false;
        QTest::newRow("Lumo 20, 30") << 0x21 << 30 << 30 << true;
        QTest::newRow("Lumo 40, 0") << 0x22 << 0 << 30 << false;
        QTest::newRow("Lumo 50, 99") << 0x23 << 99 << 30 << true;
    }

    void checksFirmware()
    {
        QFETCH(int, modelId);
        QFETCH(int, firmware);
        QFETCH(int, minimum);
        QFETCH(bool, accepted);
        auto device = std::make_unique<SimulatedBikeComputer>(quint8(modelId));
        device->setFirmwareVersion(firmware);
        QVERIFY(device->start());
        const VelotoolRun run = VelotoolProcess::run(readArguments(device->portName(), {"--json", "--quiet"}));
        if (accepted) {
            QCOMPARE(run.exitCode, 0);
            QCOMPARE(parseObject(run.out).value("device").toObject().value("firmware").toInt(), firmware);
            return;
        }
        QCOMPARE(run.exitCode, 6);
        QCOMPARE(run.out, QString());
        QCOMPARE(run.err, QStringLiteral("The firmware %1 of this %2 is below the lowest accepted version %3. Please "
                                         "update your device with the Tunedock tool, then try again.\n")
                              .arg(firmware)
                              .arg(device->model()->name)
                              .arg(minimum));
        // Refused before a single value was asked for, and the session ended politely.
        QCOMPARE(device->requestCodes(), toCodes({ReadDeviceId, ReadFirmwareVersion, CloseSession}));
    }

    void reportsSilentAndLostDevices_data()
    {
        QTest::addColumn<int>("fault");
        QTest::addColumn<int>("faultCount");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        QTest::newRow("silent: the link gives up")
            << int(FaultMode::Silent) << 0 << QStringList{} << 4
            << "No bike computer answered on %1. Check that it is connected and switched on and that no other "
               "program uses the port, then try again.";
        QTest::newRow("silent: the time limit ends the read")
            << int(FaultMode::Silent) << 0 << QStringList{"--timeout", "1"} << 4
            << "The bike computer on %1 did not answer within 1 s. Check that it is connected and switched on, then "
               "try again.";
        QTest::newRow("unplugged after the third answer")
            << int(FaultMode::UnplugAfter) << 3 << QStringList{} << 4
            << "The bike computer on %1 stopped answering (1 of 8 blocks read; missing: current bike, heart rate and "
               "energy, clock, bike 1, bike 2, bike extras, model option). Check the cable and try again.";
        QTest::newRow("the time limit ends a slow read")
            << int(FaultMode::DropNthAnswer) << 3 << QStringList{"--timeout", "1.5"} << 4
            << "The bike computer on %1 did not deliver every value within 1.5 s (0 of 8 blocks read; missing: "
               "altitude and temperature, current bike, heart rate and energy, clock, bike 1, bike 2, bike extras, "
               "model option). Check the cable and try again.";
        QTest::newRow("a dropped answer is asked for again")
            << int(FaultMode::DropNthAnswer) << 3 << QStringList{} << 0 << QString();
    }

    void reportsSilentAndLostDevices()
    {
        QFETCH(int, fault);
        QFETCH(int, faultCount);
        QFETCH(QStringList, options);
        QFETCH(int, status);
        QFETCH(QString, message);
        const auto device = startDevice(0x51, FaultMode(fault), faultCount);
        QVERIFY(device);
        const VelotoolRun run = VelotoolProcess::run(readArguments(device->portName(), options + QStringList{"--json"}));
        QVERIFY(run.finished);
        QCOMPARE(run.exitCode, status);
        if (status == 0) {
            QCOMPARE(parseObject(run.out).value("bike1").toObject().value("distance").toDouble(), 48.731);
            return;
        }
        QCOMPARE(run.out, QString());
        QCOMPARE(run.lastErrLine(), message.arg(device->portName()));
    }

    void reportsPortsThatCannotBeOpened_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("missing") << "missing";
        QTest::newRow("not a serial port") << "regular file";
        QTest::newRow("no permission") << "no permission";
    }

    void reportsPortsThatCannotBeOpened()
    {
        QFETCH(QString, kind);
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                                                 | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
        const QString port = folder.filePath(QStringLiteral("ttyUSB7"));
        VelotoolProcess::ChildSetup setup;
        QString expected;
        if (kind == QLatin1String("missing")) {
            expected = QStringLiteral("Cannot open port %1: there is no such port. Check the cable and the name; "
                                      "\"velotool ports\" lists the ports behind supported USB bridges.");
        } else {
            QFile file(port);
            QVERIFY(file.open(QIODevice::WriteOnly));
            file.close();
            if (kind == QLatin1String("regular file")) {
                expected = QStringLiteral("Cannot open port %1: it is not a serial port, or another program is using "
                                          "it. Close other programs that use the port and try again.");
            } else {
                QVERIFY(QFile::setPermissions(port, {}));
                if (VelotoolProcess::runningAsRoot()) {
                    if (!VelotoolProcess::canRunAsNobody())
                        QSKIP("the build folder cannot be reached by the user nobody");
                    // Owned by a group other than root, as serial devices are.
                    QVERIFY(::chown(QFile::encodeName(port).constData(), 0, 65534) == 0);
                    setup = [] { VelotoolProcess::dropRootInChild(); };
                }
                const QString group = QFileInfo(port).group();
                expected = group == QLatin1String("root")
                    ? QStringLiteral("Cannot open port %1: permission denied. Run velotool as a user who may use the port.")
                    : QStringLiteral("Cannot open port %1: permission denied. Add your user to the group \"%2\" that "
                                     "owns it (sudo usermod -aG %2 $USER), log in again and retry.")
                          .arg(QStringLiteral("%1"), group);
            }
        }
        const VelotoolRun run = VelotoolProcess::run(readArguments(port, {QStringLiteral("-q")}), setup);
        QCOMPARE(run.exitCode, 3);
        QCOMPARE(run.out, QString());
        QCOMPARE(run.err, expected.arg(port) + QLatin1Char('\n'));
    }

    void ctrlCEndsTheReadAndClosesThePort()
    {
        const auto device = startDevice(0x51, FaultMode::Silent);
        QVERIFY(device);
        QProcess process;
        VelotoolProcess::start(process, readArguments(device->portName()));
        QVERIFY(process.waitForStarted());
        QString err;
        QTRY_VERIFY_WITH_TIMEOUT((err += QString::fromUtf8(process.readAllStandardError()))
                                     .contains(QLatin1String("Waiting for the bike computer to answer...\n")),
                                 int(ProgressWait.count()));
        ::kill(pid_t(process.processId()), SIGINT);
        QVERIFY(process.waitForFinished(int(ProgressWait.count())));
        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 130);
        err += QString::fromUtf8(process.readAllStandardError());
        QVERIFY2(err.endsWith(QLatin1String("\nInterrupted; the session with the bike computer was closed.\n")),
                 qPrintable(err));
        QCOMPARE(device->requestCodes().value(0), quint8(ReadDeviceId));
    }
};

QTEST_GUILESS_MAIN(tst_VelotoolRead)
#include "tst_velotoolread.moc"
