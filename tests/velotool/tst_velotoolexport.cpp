// SPDX-License-Identifier: GPL-3.0-or-later
#include "VelotoolProcess.h"

#include "outpost/FitReader.h"
#include "outpost/TimeZoneScope.h"

#include "linkhub/DeviceCatalogue.h"
#include "linkhub/TunedockCommand.h"
#include "outpost/CsvExporter.h"
#include "outpost/Outposter.h"
#include "tools/simulator/SampleRide.h"
#include "tools/simulator/SimulatedBikeComputer.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <fcntl.h>
#include <memory>
#include <sys/file.h>
#include <unistd.h>

namespace {

constexpr quint16 FileIdGlobal = 0;
constexpr quint16 SessionGlobal = 18;
constexpr qint64 FitEpoch = 631065600; // 1989-12-31 00:00:00 UTC in Unix seconds
constexpr quint8 ManufacturerVelquist = 77;

const QString RideStartText = QStringLiteral("2024-03-16 09:30");
const QDateTime RideStart(QDate(2024, 3, 16), QTime(9, 30));

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

QStringList folderEntries(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
}

} // namespace

class tst_VelotoolExport : public QObject
{
    Q_OBJECT

private:
    DeviceCatalogue::Map catalogue;
    std::unique_ptr<QTemporaryDir> folder;

    /// The values the simulated device of this model holds, which a complete read reproduces.
    ModelData deviceValues(int modelId) const { return SampleRide::forModel(catalogue.value(quint8(modelId))); }

    QString path(const QString &name) const { return folder->filePath(name); }

    static QStringList exportArguments(const QString &model, const QStringList &options, const QString &output)
    {
        return QStringList{QStringLiteral("export"), QStringLiteral("--simulate"), model, QStringLiteral("--quiet")}
            + options + QStringList{output};
    }

private slots:
    void initTestCase() { catalogue = DeviceCatalogue::build(); }
    void cleanupTestCase() { DeviceCatalogue::release(catalogue); }

    void init()
    {
        folder = std::make_unique<QTemporaryDir>();
        QVERIFY(folder->isValid());
    }

    void writesFitFile_data()
    {
        QTest::addColumn<QString>("model");
        QTest::addColumn<int>("modelId");
        QTest::addColumn<int>("bikeIndex");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QTime>("time");
        QTest::addColumn<QString>("distanceLine");
        const QByteArray utc = "UTC0";
        const QByteArray centralEurope = "CET-1CEST,M3.5.0,M10.5.0/3";
        QTest::newRow("Lumo 60, bike 1 by default") << "Lumo 60" << 0x51 << 0 << QStringList{} << utc << RideStart.date()
                                                    << RideStart.time() << "  Distance:      48.731 km";
        QTest::newRow("Lumo 60, bike 2") << "Lumo 60" << 0x51 << 1 << QStringList{"--bike", "2"} << utc << RideStart.date()
                                         << RideStart.time() << "  Distance:      12.300 km";
        QTest::newRow("Lumo 50, bike 2, Central Europe")
            << "Lumo 50" << 0x23 << 1 << QStringList{"--bike", "2"} << centralEurope << QDate(2024, 7, 1) << QTime(18, 45)
            << "  Distance:      12.300 km";
        QTest::newRow("Lumo 20, bike 1, seconds given")
            << "Lumo 20" << 0x21 << 0 << QStringList{"--bike", "1"} << utc << QDate(2024, 3, 16) << QTime(9, 30, 15)
            << "  Distance:      48.683 km";
        QTest::newRow("Lumo 40, imperial, bike 2") << "Lumo 40" << 0x22 << 1 << QStringList{"--bike", "2"} << utc
                                                   << RideStart.date() << RideStart.time() << "  Distance:      7.643 mi";
        QTest::newRow("a start the switch to summer time skips")
            << "Lumo 60" << 0x51 << 0 << QStringList{} << centralEurope << QDate(2024, 3, 31) << QTime(2, 30)
            << "  Distance:      48.731 km";
    }

    void writesFitFile()
    {
        QFETCH(QString, model);
        QFETCH(int, modelId);
        QFETCH(int, bikeIndex);
        QFETCH(QStringList, options);
        QFETCH(QByteArray, zone);
        QFETCH(QDate, date);
        QFETCH(QTime, time);
        QFETCH(QString, distanceLine);
        const TimeZoneScope timeZone(zone); // velotool runs in the same zone
        const QDateTime rideStart(date, time);
        const QString minute = date.toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ') + time.toString(QStringLiteral("HH:mm"));
        const QString start = time.second() ? minute + time.toString(QStringLiteral(":ss")) : minute;
        const QString output = path(QStringLiteral("ride.fit"));
        const VelotoolRun run = VelotoolProcess::run(exportArguments(model, options + QStringList{"--start", start}, output));
        QCOMPARE(run.err, QString());
        QCOMPARE(run.exitCode, 0);
        const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), 6);
        QCOMPARE(lines.first(), QStringLiteral("Ride of bike %1 on the %2, started %3").arg(bikeIndex + 1).arg(model, minute));
        QCOMPARE(lines[1], distanceLine);
        QCOMPARE(lines.last(), QStringLiteral("Written to the FIT file %1").arg(output));

        // Byte for byte what the export library writes for the device's values.
        ModelData values = deviceValues(modelId);
        const QString reference = path(QStringLiteral("reference.fit"));
        QVERIFY(Outposter::exportToFit(reference, &values, bikeIndex, rideStart));
        const QByteArray bytes = readFile(output);
        QCOMPARE(bytes, readFile(reference));

        const FitFile file = FitReader::read(bytes);
        QVERIFY2(file.isValid(), qPrintable(file.error));
        const QList<FitMessage> fileIds = file.messagesOf(FileIdGlobal);
        QCOMPARE(fileIds.size(), 1);
        QCOMPARE(fileIds[0].field(1)->raw(), quint64(ManufacturerVelquist));
        QCOMPARE(fileIds[0].field(2)->raw(), quint64(modelId));
        const QList<FitMessage> sessions = file.messagesOf(SessionGlobal);
        QCOMPARE(sessions.size(), 1);
        const Bike &bike = values.bikes[bikeIndex];
        QCOMPARE(sessions[0].field(2)->raw(), quint64(rideStart.toSecsSinceEpoch() - FitEpoch));
        QCOMPARE(sessions[0].field(9)->raw(), quint64(bike.dailyDistance / 10)); // centimetres
        QCOMPARE(sessions[0].field(8)->raw(),
                 quint64((bike.rideTimeHour * 3600 + bike.rideTimeMin * 60 + bike.rideTimeSec) * 1000));
        QCOMPARE(sessions[0].field(18)->raw(), quint64(bike.avgCadence));
        QCOMPARE(folderEntries(folder->path()), (QStringList{"reference.fit", "ride.fit"}));
    }

    void rideStartDefaultsToNow()
    {
        const QString output = path(QStringLiteral("now.fit"));
        const qint64 before = QDateTime::currentSecsSinceEpoch();
        const VelotoolRun run = VelotoolProcess::run(exportArguments(QStringLiteral("Lumo 60"), {}, output));
        const qint64 after = QDateTime::currentSecsSinceEpoch();
        QCOMPARE(run.exitCode, 0);
        const FitFile file = FitReader::read(readFile(output));
        QVERIFY2(file.isValid(), qPrintable(file.error));
        const qint64 start = qint64(file.messagesOf(SessionGlobal).value(0).field(2)->raw()) + FitEpoch;
        QVERIFY2(start >= before && start <= after, qPrintable(QString::number(start)));
    }

    void appendsToCsvLog_data()
    {
        QTest::addColumn<QString>("name");
        QTest::newRow(".csv") << "rides.csv";
        QTest::newRow("upper-case .FIT is a log too") << "rides.FIT";
        QTest::newRow("no extension") << "rides";
    }

    void appendsToCsvLog()
    {
        QFETCH(QString, name);
        const QString log = path(name);
        const QDateTime secondStart(QDate(2024, 3, 16), QTime(18, 5));

        const VelotoolRun first = VelotoolProcess::run(
            exportArguments(QStringLiteral("Lumo 60"), {"--start", RideStartText}, log));
        QCOMPARE(first.exitCode, 0);
        QCOMPARE(first.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts).last(),
                 QStringLiteral("Appended to the CSV log %1").arg(log));
        // A log kept private stays so when a ride is added.
        const QFile::Permissions privateLog = QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup;
        QVERIFY(QFile::setPermissions(log, privateLog));
        const VelotoolRun second = VelotoolProcess::run(
            exportArguments(QStringLiteral("Lumo 60"), {"--bike", "2", "--start", "2024-03-16 18:05"}, log));
        QCOMPARE(second.exitCode, 0);
        QCOMPARE(QFile::permissions(log) & ~(QFile::ReadUser | QFile::WriteUser | QFile::ExeUser), privateLog);

        ModelData values = deviceValues(0x51);
        const QString reference = path(QStringLiteral("reference.log"));
        QVERIFY(CsvExporter::exportToCsv(reference, &values, 0, RideStart));
        QVERIFY(CsvExporter::exportToCsv(reference, &values, 1, secondStart));
        const QByteArray bytes = readFile(log);
        QCOMPARE(bytes, readFile(reference));

        const QStringList lines = QString::fromUtf8(bytes).split(QLatin1Char('\n'));
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines[0].startsWith(QLatin1String("Unit; Date; Ride time; Total Distance;")));
        const QStringList bike1 = lines[1].split(QStringLiteral("; "));
        const QStringList bike2 = lines[2].split(QStringLiteral("; "));
        QCOMPARE(bike1.size(), 27);
        QCOMPARE(bike1.mid(2, 3), (QStringList{"01:52:37", "48.731", "1432"}));
        QCOMPARE(bike2.mid(2, 3), (QStringList{"00:41:05", "12.300", "1432"}));
        QCOMPARE(bike1[0], QStringLiteral("km/kmph/meter/Celsius"));
        QStringList expectedEntries{name, "reference.log"};
        expectedEntries.sort();
        QCOMPARE(folderEntries(folder->path()), expectedEntries);
    }

    void logBehindSymbolicLinkStaysALink()
    {
        QVERIFY(QDir(folder->path()).mkdir(QStringLiteral("logs")));
        const QString real = path(QStringLiteral("logs/rides.csv"));
        const QString link = path(QStringLiteral("rides.csv"));
        QVERIFY(QFile::link(QStringLiteral("logs/rides.csv"), link));
        for (const char *bike : {"1", "2"}) {
            const VelotoolRun run = VelotoolProcess::run(
                exportArguments(QStringLiteral("Lumo 60"), {"--bike", bike, "--start", RideStartText}, link));
            QCOMPARE(run.exitCode, 0);
        }
        QVERIFY(QFileInfo(link).isSymLink());
        QCOMPARE(QString::fromUtf8(readFile(real)).count(QLatin1Char('\n')), 2);
        QCOMPARE(folderEntries(path(QStringLiteral("logs"))), QStringList{"rides.csv"});
    }

    void exportsToOneLogAtOnceBothLand()
    {
        const QString log = path(QStringLiteral("rides.csv"));
        ModelData values = deviceValues(0x51);
        QVERIFY(CsvExporter::exportToCsv(log, &values, 0, RideStart));
        // The log is held as by another program appending to it at this moment.
        QFile holder(log);
        QVERIFY(holder.open(QIODevice::ReadOnly));
        QCOMPARE(::flock(holder.handle(), LOCK_EX), 0);

        QProcess exports[2];
        for (int i = 0; i < 2; ++i)
            VelotoolProcess::start(exports[i], {QStringLiteral("export"), QStringLiteral("--simulate"),
                                                QStringLiteral("Lumo 60"), QStringLiteral("--bike"), QString::number(i + 1),
                                                QStringLiteral("--start"), RideStartText, log});
        QByteArray progress[2];
        const auto bothAppending = [&] {
            for (int i = 0; i < 2; ++i)
                progress[i] += exports[i].readAllStandardError();
            return progress[0].contains("Appending to the CSV log") && progress[1].contains("Appending to the CSV log");
        };
        QTRY_VERIFY_WITH_TIMEOUT(bothAppending(), int(VelotoolProcess::RunLimit.count()));
        // Both wait for their turn instead of writing past the lock.
        QTest::qWait(300);
        QCOMPARE(exports[0].state(), QProcess::Running);
        QCOMPARE(exports[1].state(), QProcess::Running);
        QCOMPARE(::flock(holder.handle(), LOCK_UN), 0);
        for (QProcess &process : exports) {
            QVERIFY(process.waitForFinished(int(VelotoolProcess::RunLimit.count())));
            QCOMPARE(process.exitCode(), 0);
        }

        const QList<QByteArray> lines = readFile(log).split('\n');
        QCOMPARE(lines.size(), 4);
        const QStringList bikes = {QString::fromUtf8(lines[2]).section(QStringLiteral("; "), 2, 2),
                                   QString::fromUtf8(lines[3]).section(QStringLiteral("; "), 2, 2)};
        QVERIFY2(bikes.contains(QStringLiteral("01:52:37")) && bikes.contains(QStringLiteral("00:41:05")),
                 qPrintable(bikes.join(QLatin1Char(' '))));
        QCOMPARE(folderEntries(folder->path()), QStringList{QStringLiteral("rides.csv")});
    }

    void refusalsWriteNothing_data()
    {
        QTest::addColumn<int>("modelId");
        QTest::addColumn<int>("firmware");
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("status");
        QTest::newRow("Lumo 10 to a FIT file") << 0x11 << -1 << "ride.fit" << 5;
        QTest::newRow("Lumo 70 to a log") << 0x61 << -1 << "rides.csv" << 5;
        QTest::newRow("Lumo 60 with firmware 11") << 0x51 << 11 << "ride.fit" << 6;
        QTest::newRow("Lumo 50 with firmware 29, to a log") << 0x23 << 29 << "rides.csv" << 6;
    }

    void refusalsWriteNothing()
    {
        QFETCH(int, modelId);
        QFETCH(int, firmware);
        QFETCH(QString, name);
        QFETCH(int, status);
        SimulatedBikeComputer device(static_cast<quint8>(modelId));
        if (firmware >= 0)
            device.setFirmwareVersion(firmware);
        QVERIFY(device.start());
        const VelotoolRun run = VelotoolProcess::run(
            {QStringLiteral("export"), QStringLiteral("--port"), device.portName(), QStringLiteral("-q"), path(name)});
        QCOMPARE(run.exitCode, status);
        QCOMPARE(run.out, QString());
        QCOMPARE(run.errLines().size(), 1);
        QCOMPARE(folderEntries(folder->path()), QStringList());
    }

    void checksTheOutputBeforeReading_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("output");
        QTest::addColumn<QString>("message");
        QTest::newRow("folder missing") << "" << "missing/ride.fit"
                                        << "Cannot write %1: the folder %2/missing does not exist. Create it first, or "
                                           "name a file in another folder.";
        QTest::newRow("folder missing, log") << "" << "missing/deeper/rides.csv"
                                             << "Cannot write %1: the folder %2/missing/deeper does not exist. Create it "
                                                "first, or name a file in another folder.";
        QTest::newRow("output is a folder") << "folder" << "rides"
                                            << "Cannot write %1: it is a folder. Name a file, such as %1/rides.csv.";
        QTest::newRow("folder closed to the user") << "closed folder" << "ride.fit"
                                                   << "Cannot write %1: you may not create files in the folder %2. "
                                                      "Choose another folder.";
        QTest::newRow("log closed to the user") << "closed file" << "rides.csv"
                                                << "Cannot write %1: you may not change that file. Choose another name.";
    }

    void checksTheOutputBeforeReading()
    {
        QFETCH(QString, kind);
        QFETCH(QString, output);
        QFETCH(QString, message);
        SimulatedBikeComputer device(0x51);
        QVERIFY(device.start());
        const QString target = path(output);
        VelotoolProcess::ChildSetup setup;
        if (kind == QLatin1String("folder")) {
            QVERIFY(QDir(folder->path()).mkdir(output));
        } else if (kind.startsWith(QLatin1String("closed"))) {
            if (VelotoolProcess::runningAsRoot()) {
                if (!VelotoolProcess::canRunAsNobody())
                    QSKIP("the build folder cannot be reached by the user nobody");
                setup = [] { VelotoolProcess::dropRootInChild(); };
            }
            const QFile::Permissions open = QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup
                | QFile::WriteGroup | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
            const QFile::Permissions readOnly = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
            if (kind == QLatin1String("closed file")) {
                QVERIFY(writeFile(target, "Unit; Date\nkm/kmph/meter/Celsius; Sat Mar 16 09:30:00 2024"));
                QVERIFY(QFile::setPermissions(target, readOnly));
                QVERIFY(QFile::setPermissions(folder->path(), open));
            } else {
                QVERIFY(QFile::setPermissions(folder->path(), readOnly | QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther));
            }
        }
        const QStringList before = folderEntries(folder->path());
        const QByteArray contents = readFile(target);

        const VelotoolRun run = VelotoolProcess::run(
            {QStringLiteral("export"), QStringLiteral("--port"), device.portName(), QStringLiteral("-q"), target}, setup);
        QFile::setPermissions(folder->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QCOMPARE(run.exitCode, 7);
        QCOMPARE(run.out, QString());
        QCOMPARE(run.err, QString(message).replace(QLatin1String("%1"), target).replace(QLatin1String("%2"), folder->path())
                              + QLatin1Char('\n'));
        // Checked before the device was asked anything, and nothing was written.
        QCOMPARE(device.requestCodes(), QList<quint8>());
        QCOMPARE(folderEntries(folder->path()), before);
        QCOMPARE(readFile(target), contents);
    }

    void aRepeatedAnswerNeverStandsInForAMissingOne()
    {
        // The firmware version comes twice, and bike 2's settings come a byte short, which the
        // link drops: seven of the eight blocks arrive, plus one the read does not ask for.
        SimulatedBikeComputer device(0x51);
        device.setFault(FaultMode::DuplicateAnswer, 2);
        device.setHandler(ReadBike2Settings, [](ModelData &, const RequestFrame &) {
            return std::optional<QByteArray>(QByteArray(AnswerEncoder::TwoBikeSettingsLength, '\x01'));
        });
        QVERIFY(device.start());
        const QString target = path(QStringLiteral("ride.fit"));
        const QByteArray existing(100, '\x0e');
        QVERIFY(writeFile(target, existing));
        const VelotoolRun run = VelotoolProcess::run({QStringLiteral("export"), QStringLiteral("--port"),
                                                      device.portName(), QStringLiteral("--bike"), QStringLiteral("2"),
                                                      QStringLiteral("--timeout"), QStringLiteral("6"), target});
        QCOMPARE(run.exitCode, 4);
        QCOMPARE(run.out, QString());
        QCOMPARE(run.lastErrLine(), QStringLiteral("The bike computer on %1 did not deliver every value within 6 s (7 of 8 "
                                                   "blocks read; missing: bike 2). Check the cable and try again.")
                                        .arg(device.portName()));
        QVERIFY(!run.err.contains(QLatin1String("(8 of 8)")));
        QCOMPARE(readFile(target), existing);
        QCOMPARE(folderEntries(folder->path()), QStringList{"ride.fit"});
    }

    void anInterruptAtTheLastMomentLeavesNothingBehind()
    {
        const QString target = path(QStringLiteral("ride.fit"));
        // velotool's standard output is a pipe that is full already, so the program stalls on its
        // summary, right after writing the file, until the test has interrupted it.
        int out[2];
        QVERIFY(::pipe2(out, O_CLOEXEC) == 0);
        ::fcntl(out[1], F_SETPIPE_SZ, 4096);
        ::fcntl(out[1], F_SETFL, O_NONBLOCK);
        const QByteArray filler(4096, 'x');
        while (::write(out[1], filler.constData(), filler.size()) > 0) {
        }
        ::fcntl(out[1], F_SETFL, 0);
        const int childOut = out[1];
        QProcess process;
        VelotoolProcess::start(process, exportArguments(QStringLiteral("Lumo 60"), {"--start", RideStartText}, target),
                               [childOut] { ::dup2(childOut, STDOUT_FILENO); });
        ::close(out[1]);
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(target), int(VelotoolProcess::RunLimit.count()));
        QTest::qWait(200);
        ::kill(pid_t(process.processId()), SIGINT);
        ::fcntl(out[0], F_SETFL, O_NONBLOCK);
        char drained[4096];
        while (!process.waitForFinished(50)) {
            while (::read(out[0], drained, sizeof drained) > 0) {
            }
        }
        ::close(out[0]);

        QCOMPARE(process.exitStatus(), QProcess::NormalExit);
        QCOMPARE(process.exitCode(), 130);
        QCOMPARE(QString::fromUtf8(process.readAllStandardError()),
                 QStringLiteral("Interrupted; the ride had been written to %1 already.\n").arg(target));
        ModelData values = deviceValues(0x51);
        QTemporaryDir elsewhere;
        const QString reference = elsewhere.filePath(QStringLiteral("reference.fit"));
        QVERIFY(Outposter::exportToFit(reference, &values, 0, RideStart));
        QCOMPARE(readFile(target), readFile(reference));
        QCOMPARE(folderEntries(folder->path()), QStringList{"ride.fit"});
    }

    void failedWriteLeavesTheFileAsItWas_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("existing");
        QTest::addColumn<int>("room");
        QTest::newRow("FIT file replacing an older one") << "ride.fit" << QByteArray(100, '\x0e') << 150;
        QTest::newRow("CSV log with a ride")
            << "rides.csv"
            << QByteArray("Unit; Date; Ride time\nkm/kmph/meter/Celsius; Sat Mar 16 09:30:00 2024; 01:52:37") << 120;
        QTest::newRow("new CSV log") << "rides.csv" << QByteArray() << 100;
    }

    void failedWriteLeavesTheFileAsItWas()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, existing);
        QFETCH(int, room);
        const QString target = path(name);
        if (!existing.isEmpty())
            QVERIFY(writeFile(target, existing));
        // No file may grow past `room` bytes: the new contents do not fit.
        const long limit = room;
        const VelotoolRun run = VelotoolProcess::run(exportArguments(QStringLiteral("Lumo 60"), {}, target),
                                                     [limit] { VelotoolProcess::limitFileSizeInChild(limit); });
        QCOMPARE(run.exitCode, 7);
        QCOMPARE(run.out, QString());
        QCOMPARE(run.err, QStringLiteral("Writing %1 failed, and the file was left as it was. Make sure that there is "
                                         "space on the disk, that you may write there and that no other program is "
                                         "using the file.\n")
                              .arg(target));
        QCOMPARE(readFile(target), existing);
        QCOMPARE(QFile::exists(target), !existing.isEmpty());
        QCOMPARE(folderEntries(folder->path()), existing.isEmpty() ? QStringList() : QStringList{name});
    }
};

QTEST_GUILESS_MAIN(tst_VelotoolExport)
#include "tst_velotoolexport.moc"
