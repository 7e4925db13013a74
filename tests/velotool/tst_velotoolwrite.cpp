// SPDX-License-Identifier: GPL-3.0-or-later
#include "VelotoolProcess.h"

#include "linkhub/TunedockCommand.h"
#include "tools/simulator/SimulatedBikeComputer.h"

#include <QProcess>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <memory>

namespace {

// A transfer of 28 blocks at 9600 baud takes about a minute.
constexpr std::chrono::milliseconds TransferLimit{240000};
constexpr int ProgressWait = 60000;

std::unique_ptr<SimulatedBikeComputer> startDevice(quint8 modelId, bool inBootLoader = false)
{
    auto device = std::make_unique<SimulatedBikeComputer>(modelId);
    if (!(inBootLoader ? device->startInBootLoader() : device->start()))
        return nullptr;
    return device;
}

/// A 64 KiB image in a file of the test's folder.
QString writeImage(const QTemporaryDir &folder, int size, QByteArray *image = nullptr)
{
    QByteArray bytes(size, '\0');
    for (int i = 0; i < size; ++i)
        bytes[i] = char((i * 31 + (i >> 11)) & 0xFF);
    const QString path = folder.filePath(QStringLiteral("image.bin"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != size)
        return QString();
    if (image)
        *image = bytes;
    return path;
}

/// Collects standard error until it holds the text; callers check QTest::currentTestFailed().
void readUntil(QProcess &process, const QString &text, QString &err)
{
    QTRY_VERIFY_WITH_TIMEOUT((err += QString::fromUtf8(process.readAllStandardError())).contains(text), ProgressWait);
}

} // namespace

// velotool's clock, odometer and firmware commands against simulated bike computers.
class tst_VelotoolWrite : public QObject
{
    Q_OBJECT

private slots:
    void clock_data()
    {
        QTest::addColumn<int>("modelId");
        QTest::addColumn<QString>("to");
        QTest::addColumn<QString>("out");
        QTest::newRow("Lumo 20, a given time") << 0x21 << "2026-07-01 10:00:00"
                                               << "Clock before: 2024-03-16 17:42:08\n"
                                                  "Clock after:  2026-07-01 10:00:00\n";
        QTest::newRow("Lumo 30, time of day only") << 0x12 << "2026-07-01 10:00:00"
                                                   << "Clock before: 17:42:08\n"
                                                      "Clock after:  10:00:00\n"
                                                      "The Lumo 30 keeps the time of day only: its date was left as it is.\n";
        QTest::newRow("Lumo 60, the PC's time") << 0x51 << QString() << QString();
    }

    void clock()
    {
        QFETCH(int, modelId);
        QFETCH(QString, to);
        QFETCH(QString, out);
        const auto device = startDevice(quint8(modelId));
        QVERIFY(device);
        const ModelData before = device->values();
        QStringList arguments{"clock", "--port", device->portName()};
        if (!to.isEmpty())
            arguments << "--to" << to;
        const VelotoolRun run = VelotoolProcess::run(arguments);
        QVERIFY2(run.finished && run.exitCode == 0, qPrintable(run.err));
        const ModelData after = device->values();
        if (to.isEmpty()) {
            const QDateTime now = QDateTime::currentDateTime();
            QVERIFY(qAbs(after.getDateTime().secsTo(now)) < 120);
            QVERIFY(run.out.startsWith(QLatin1String("Clock before: 2024-03-16 17:42:08\nClock after:  ")));
            return;
        }
        QCOMPARE(run.out, out);
        QCOMPARE(QTime(after.hour, after.minute, after.second), QTime(10, 0, 0));
        QCOMPARE(after.month, device->model()->hasDate ? quint8(7) : before.month);
        const QList<quint8> codes = device->requestCodes();
        QCOMPARE(codes.count(WriteDateTime), 1);
        QCOMPARE(codes.last(), quint8(CloseSession));
    }

    void odometer_data()
    {
        QTest::addColumn<int>("modelId");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("text");
        QTest::addColumn<qulonglong>("millimetres");
        QTest::newRow("Lumo 60, bike 2, km")
            << 0x51 << QStringList{"--bike", "2", "12345.6"} << 0
            << "Bike 2 odometer before: 4321.099 km\nBike 2 odometer after:  12345.600 km\n" << 12345600000ull;
        QTest::newRow("Lumo 10, miles") << 0x11 << QStringList{"--bike", "1", "--miles", "100"} << 0
                                        << "Bike 1 odometer after:  100.000 miles\n" << 160934400ull;
        QTest::newRow("Lumo 10, more than 40 bits hold")
            << 0x11 << QStringList{"--bike", "1", "1100000"} << 2
            << "1100000 km is more than the odometer of the Lumo 10 holds (at most 1099511.628 km). "
               "Try \"velotool odometer --help\"."
            << 0ull;
        QTest::newRow("Lumo 30, no second bike") << 0x12 << QStringList{"--bike", "2", "10"} << 2
                                                 << "The Lumo 30 keeps one bike only; use --bike 1. "
                                                    "Try \"velotool odometer --help\"."
                                                 << 0ull;
        QTest::newRow("not a number") << 0x21 << QStringList{"--bike", "1", "ten"} << 2
                                      << "The distance \"ten\" is not a number of kilometres or miles of 0 or more. "
                                         "Try \"velotool odometer --help\"."
                                      << 0ull;
        QTest::newRow("negative") << 0x21 << QStringList{"--bike", "1", "--", "-5"} << 2
                                  << "The distance \"-5\" is not a number of kilometres or miles of 0 or more. "
                                     "Try \"velotool odometer --help\"."
                                  << 0ull;
    }

    // The odometer is written with every other setting of the bike as the device reported it.
    void odometer()
    {
        QFETCH(int, modelId);
        QFETCH(QStringList, options);
        QFETCH(int, exitCode);
        QFETCH(QString, text);
        QFETCH(qulonglong, millimetres);
        const auto device = startDevice(quint8(modelId));
        QVERIFY(device);
        const ModelData before = device->values();
        const VelotoolRun run = VelotoolProcess::run(QStringList{"odometer", "--port", device->portName()} + options);
        QVERIFY(run.finished);
        QCOMPARE(run.exitCode, exitCode);
        const ModelData after = device->values();
        const int bike = options.at(1).toInt() - 1;
        if (exitCode != 0) {
            QCOMPARE(run.lastErrLine(), text);
            QVERIFY(!device->requestCodes().contains(WriteBikeSettings));
            QVERIFY(!device->requestCodes().contains(WriteBike2Settings));
            return;
        }
        QVERIFY2(run.out.endsWith(text), qPrintable(run.out));
        QCOMPARE(after.bikes[bike].totalDistance, quint64(millimetres));
        QCOMPARE(after.bikes[bike].bikeParamWord, before.bikes[bike].bikeParamWord);
        QCOMPARE(after.bikes[bike].dailyDistance, before.bikes[bike].dailyDistance);
        QCOMPARE(after.bikes[bike].bikeExtraByte, before.bikes[bike].bikeExtraByte);
        QCOMPARE(after.unitSystem, before.unitSystem);
        QCOMPARE(after.bikes[1 - bike].totalDistance, before.bikes[1 - bike].totalDistance);
    }

    // A device that lost its firmware: only the boot loader answers.
    void firmwareInRecovery()
    {
        const auto device = startDevice(0x51, true);
        QVERIFY(device);
        QTemporaryDir folder;
        QByteArray image;
        const QString path = writeImage(folder, 0x10000, &image);
        QVERIFY(!path.isEmpty());
        const VelotoolRun run = VelotoolProcess::run(
            {"firmware", "--port", device->portName(), "--recovery", "Lumo 60", "--yes", path}, {}, TransferLimit);
        QVERIFY2(run.finished && run.exitCode == 0, qPrintable(run.err));
        QCOMPARE(run.out, QStringLiteral("Firmware loaded.\n"));
        QVERIFY(run.err.contains(QLatin1String("Acknowledged block 1 of 28, 3 %, about ")));
        QVERIFY(run.err.contains(QLatin1String("Acknowledged block 28 of 28, 100 %\n")));
        QVERIFY(device->firmwareImage() == image.mid(0x2000));
        QVERIFY(!device->requestCodes().contains(ReadDeviceId));
        QVERIFY(!device->requestCodes().contains(EnterBootloader));
    }

    void firmwareLostMidTransferNamesTheLastBlock()
    {
        const auto device = startDevice(0x23);
        QVERIFY(device);
        device->setFault(FaultMode::SilentAfterBlock, 1);
        QTemporaryDir folder;
        const QString path = writeImage(folder, 0x10000);
        const VelotoolRun run = VelotoolProcess::run({"firmware", "--port", device->portName(), "--yes", path}, {},
                                                     TransferLimit);
        QVERIFY(run.finished);
        QCOMPARE(run.exitCode, 4);
        QCOMPARE(run.lastErrLine(),
                 QStringLiteral("The link to the bike computer on %1 was lost during the transfer; the last block "
                                "acknowledged was 2 of 24. The device may now be without firmware: load the image "
                                "again with \"velotool firmware --port %1 --recovery \"Lumo 50\" IMAGE\".")
                     .arg(device->portName()));
        QCOMPARE(device->requestCodes().mid(0, 2), (QList<quint8>{ReadDeviceId, ReadFirmwareVersion}));
    }

    void firmwareCtrlCWarnsThenStops()
    {
        const auto device = startDevice(0x23);
        QVERIFY(device);
        QTemporaryDir folder;
        const QString path = writeImage(folder, 0x10000);
        QProcess process;
        VelotoolProcess::start(process, {"firmware", "--port", device->portName(), "--yes", path});
        QVERIFY(process.waitForStarted());
        QString err;
        readUntil(process, QStringLiteral("Acknowledged block 1 of 24"), err);
        QVERIFY(!QTest::currentTestFailed());
        ::kill(pid_t(process.processId()), SIGINT);
        readUntil(process, QStringLiteral("Stopping now can leave the bike computer without firmware. Press Ctrl-C "
                                          "again to stop anyway.\n"),
                  err);
        readUntil(process, QStringLiteral("Acknowledged block 2 of 24"), err); // it goes on
        QVERIFY(!QTest::currentTestFailed());
        ::kill(pid_t(process.processId()), SIGINT);
        QVERIFY(process.waitForFinished(ProgressWait));
        QCOMPARE(process.exitCode(), 130);
        err += QString::fromUtf8(process.readAllStandardError());
        QVERIFY2(err.contains(QRegularExpression(QStringLiteral(
                     "\nInterrupted after block [23] of 24 was acknowledged\\. The device may now be without firmware"))),
                 qPrintable(err));
        QVERIFY(device->firmwareBlocksReceived() < 24);
    }

    void firmwareRefusedBeforeTheDeviceIsTouched_data()
    {
        QTest::addColumn<int>("size");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("short image") << 0xC000 << QStringList{"--yes"} << 10
                                     << "The firmware image \"%1\" holds 49152 bytes; every model needs at least 65536. "
                                        "Nothing was sent.";
        QTest::newRow("no terminal to confirm on") << 0x10000 << QStringList{} << 2
                                                   << "Loading firmware needs a confirmation: give --yes when no one can "
                                                      "answer on a terminal. Try \"velotool firmware --help\".";
        QTest::newRow("unknown recovery model") << 0x10000 << QStringList{"--yes", "--recovery", "Lumo 99"} << 2
                                                << QString();
    }

    void firmwareRefusedBeforeTheDeviceIsTouched()
    {
        QFETCH(int, size);
        QFETCH(QStringList, options);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        const auto device = startDevice(0x21);
        QVERIFY(device);
        QTemporaryDir folder;
        const QString path = writeImage(folder, size);
        const VelotoolRun run = VelotoolProcess::run(QStringList{"firmware", "--port", device->portName()} + options
                                                     + QStringList{path});
        QVERIFY(run.finished);
        QCOMPARE(run.exitCode, exitCode);
        if (!message.isEmpty())
            QCOMPARE(run.lastErrLine(), message.arg(path));
        QTest::qWait(200);
        QCOMPARE(device->requestCodes(), QList<quint8>());
    }
};

QTEST_GUILESS_MAIN(tst_VelotoolWrite)
#include "tst_velotoolwrite.moc"
