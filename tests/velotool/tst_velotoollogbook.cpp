// SPDX-License-Identifier: GPL-3.0-or-later
#include "VelotoolProcess.h"
#include "logbook/CsvLogText.h"
#include "support/FileBytes.h"

#include "tools/simulator/SimulatedBikeComputer.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

const QStringList RideKeys{"ascent", "avgHeartRate", "avgSpeed", "bike",     "date",  "descent",
                           "distance", "edited",     "id",       "kcal",     "maxHeartRate", "maxSpeed",
                           "model",  "note",         "odometer", "rideTime", "source", "start"};
const QStringList TotalKeys{"ascent", "distance", "kcal", "period", "rideTime", "rides"};

QString lineWith(const QStringList &lines, const QString &text)
{
    for (const QString &line : lines)
        if (line.contains(text))
            return line;
    return QString();
}

} // namespace

class tst_VelotoolLogbook : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> folder;

    QString path(const QString &name) const { return folder->filePath(name); }
    QString logbook() const { return path(QStringLiteral("logbook.sqlite")); }
    /// Where the user's own logbook is while the test runs.
    QString usersLogbook() const { return path(QStringLiteral("data/Velquist/Pacerow/logbook.sqlite")); }

    QJsonArray listed(const QString &file)
    {
        const VelotoolRun run = VelotoolProcess::run({"logbook", "list", "--json", "--logbook", file});
        if (run.exitCode != 0)
            qWarning() << run.err;
        return QJsonDocument::fromJson(run.out.toUtf8()).array();
    }

    static std::unique_ptr<SimulatedBikeComputer> startDevice()
    {
        auto device = std::make_unique<SimulatedBikeComputer>(quint8(0x51));
        return device->start() ? std::move(device) : nullptr;
    }

    QString writeLog(const QString &name, const QByteArray &text)
    {
        return FileBytes::write(path(name), text) ? path(name) : QString();
    }

private slots:
    void init()
    {
        folder = std::make_unique<QTemporaryDir>();
        QVERIFY(folder->isValid());
        qputenv("XDG_DATA_HOME", QFile::encodeName(path(QStringLiteral("data"))));
    }

    void recordsReadsAndExportsOfRealPort()
    {
        const auto device = startDevice();
        QVERIFY(device);
        const QStringList read{"read", "--port", device->portName(), "-q", "--logbook", logbook()};
        QCOMPARE(VelotoolProcess::run(read).exitCode, 0);
        QJsonArray rides = listed(logbook());
        QCOMPARE(rides.size(), 2);

        // The same day read again, after more riding: the entries grow, no new ones.
        ModelData values = device->values();
        values.bikes[0].dailyDistance += 5000000;
        device->setValues(values);
        QCOMPARE(VelotoolProcess::run(read).exitCode, 0);
        rides = listed(logbook());
        QCOMPARE(rides.size(), 2);
        QCOMPARE(rides[0].toObject()["bike"].toInt(), 1);
        QCOMPARE(rides[0].toObject()["distance"].toDouble(), values.bikes[0].dailyDistance / 1000.0);
        QCOMPARE(rides[0].toObject()["start"], QJsonValue());
        QCOMPARE(rides[0].toObject()["model"].toString(), QStringLiteral("Lumo 60"));
        QCOMPARE(rides[1].toObject()["distance"].toDouble(), values.bikes[1].dailyDistance / 1000.0);

        const VelotoolRun exported = VelotoolProcess::run({"export", "--port", device->portName(), "-q", "--logbook",
                                                           logbook(), "--bike", "2", "--start", "2024-03-16 17:45",
                                                           path(QStringLiteral("ride.fit"))});
        QCOMPARE(exported.exitCode, 0);
        rides = listed(logbook());
        QCOMPARE(rides.size(), 2);
        QVERIFY(rides[1].toObject()["start"].toString().startsWith(QLatin1String("2024-03-16T17:45:00")));
        QCOMPARE(rides[1].toObject()["source"].toString(), QStringLiteral("device"));
        QCOMPARE(rides[1].toObject()["edited"].toBool(), false);

        values.day = 17;
        device->setValues(values);
        QCOMPARE(VelotoolProcess::run(read).exitCode, 0);
        rides = listed(logbook());
        QCOMPARE(rides.size(), 4);
        QCOMPARE(rides[3].toObject()["date"].toString(), QStringLiteral("2024-03-17"));
        QCOMPARE(RideKeys, rides[0].toObject().keys());
    }

    void recordsOnlyWhereAsked_data()
    {
        QTest::addColumn<bool>("simulated");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<bool>("userRecorded");
        QTest::newRow("real port: the user's logbook") << false << QStringList{} << true;
        QTest::newRow("real port, --no-logbook") << false << QStringList{"--no-logbook"} << false;
        QTest::newRow("simulated") << true << QStringList{} << false;
        QTest::newRow("simulated, --no-logbook") << true << QStringList{"--no-logbook"} << false;
    }

    void recordsOnlyWhereAsked()
    {
        QFETCH(bool, simulated);
        QFETCH(QStringList, options);
        QFETCH(bool, userRecorded);
        std::unique_ptr<SimulatedBikeComputer> device;
        QStringList arguments{"export", "-q"};
        if (simulated) {
            arguments << "--simulate" << "Lumo 60";
        } else {
            device = startDevice();
            QVERIFY(device);
            arguments << "--port" << device->portName();
        }
        const VelotoolRun run = VelotoolProcess::run(arguments + options + QStringList{path(QStringLiteral("ride.fit"))});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(QFile::exists(path(QStringLiteral("ride.fit"))));
        QCOMPARE(QFile::exists(usersLogbook()), userRecorded);
        if (userRecorded)
            QCOMPARE(listed(usersLogbook()).size(), 2);
    }

    void unusableLogbookDoesNotFailExport()
    {
        const QByteArray damaged = QByteArray("not a logbook\n").repeated(100);
        QVERIFY(FileBytes::write(logbook(), damaged));
        const QString fit = path(QStringLiteral("ride.fit"));
        const VelotoolRun run =
            VelotoolProcess::run({"export", "--simulate", "Lumo 60", "-q", "--logbook", logbook(), fit});
        QCOMPARE(run.exitCode, 0);
        QVERIFY(QFile::exists(fit));
        const QString warning = lineWith(run.errLines(), QStringLiteral("Warning: the export was not recorded"));
        QVERIFY2(warning.contains(logbook()), qPrintable(run.err));
        QCOMPARE(FileBytes::read(logbook()), damaged);
    }

    void logbookFaultsEndWithStatus13_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("says");
        QTest::newRow("damaged") << QByteArray("SQLite format 3").append(4000, '\x7f') << "is damaged";
        QTest::newRow("not there") << QByteArray() << "cannot be opened";
    }

    void logbookFaultsEndWithStatus13()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, says);
        const QString file = bytes.isEmpty() ? path(QStringLiteral("missing/logbook.sqlite")) : logbook();
        if (!bytes.isEmpty())
            QVERIFY(FileBytes::write(file, bytes));
        const VelotoolRun run = VelotoolProcess::run({"logbook", "totals", "--logbook", file});
        QCOMPARE(run.exitCode, 13);
        const QString line = lineWith(run.errLines(), file);
        QVERIFY2(line.contains(says), qPrintable(run.err));
        QCOMPARE(FileBytes::read(file), bytes);
    }

    void importCountsAndNamesRefusedLines()
    {
        const QString log = writeLog(QStringLiteral("rides.csv"), csvLogText(5) + "\nkm/kmph/meter/Celsius; Fri Mar 1 09:30:00 2024");
        QVERIFY(!log.isEmpty());
        VelotoolRun run = VelotoolProcess::run({"logbook", "import", "--logbook", logbook(), "--bike", "2", "--model", "lumo60", log});
        QCOMPARE(run.exitCode, 10);
        QCOMPARE(run.out, QStringLiteral("%1: 5 imported, 0 already in the logbook, 1 refused\n").arg(log));
        QCOMPARE(lineWith(run.errLines(), log),
                 QStringLiteral("%1:7: 2 columns instead of 27; the line was skipped.").arg(log));
        const QJsonArray rides = listed(logbook());
        QCOMPARE(rides.size(), 5);
        QCOMPARE(rides[0].toObject()["bike"].toInt(), 2);
        QCOMPARE(rides[0].toObject()["model"].toString(), QStringLiteral("Lumo 60"));
        QCOMPARE(rides[0].toObject()["source"].toString(), QStringLiteral("csv"));

        const QString again = writeLog(QStringLiteral("again.csv"), csvLogText(6));
        run = VelotoolProcess::run({"logbook", "import", "--logbook", logbook(), "--bike", "2", again});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QStringLiteral("%1: 1 imported, 5 already in the logbook, 0 refused\n").arg(again));

        run = VelotoolProcess::run({"logbook", "totals", "--json", "--by", "year", "--logbook", logbook()});
        QCOMPARE(run.exitCode, 0);
        const QJsonArray totals = QJsonDocument::fromJson(run.out.toUtf8()).array();
        QCOMPARE(totals.size(), 1);
        QCOMPARE(totals[0].toObject().keys(), TotalKeys);
        QCOMPARE(totals[0].toObject()["period"].toString(), QStringLiteral("2024"));
        QCOMPARE(totals[0].toObject()["rides"].toInt(), 6);
        QCOMPARE(totals[0].toObject()["distance"].toDouble(), (10 + 11 + 12 + 13 + 14 + 15) * 1000.0);
    }

    void twoProcessesRecordAtOnce()
    {
        constexpr int Rides = 400;
        const QString first = writeLog(QStringLiteral("first.csv"), csvLogText(Rides));
        const QString second = writeLog(QStringLiteral("second.csv"), csvLogText(Rides, 1000));
        QProcess one;
        QProcess two;
        VelotoolProcess::start(one, {"logbook", "import", "--logbook", logbook(), first});
        VelotoolProcess::start(two, {"logbook", "import", "--bike", "2", "--logbook", logbook(), second});
        QVERIFY(one.waitForFinished(int(VelotoolProcess::RunLimit.count())));
        QVERIFY(two.waitForFinished(int(VelotoolProcess::RunLimit.count())));
        QVERIFY2(one.exitCode() == 0, one.readAllStandardError().constData());
        QVERIFY2(two.exitCode() == 0, two.readAllStandardError().constData());
        QCOMPARE(listed(logbook()).size(), 2 * Rides);
    }

    void noteRemoveBackupAndExportAgain()
    {
        QVERIFY(!writeLog(QStringLiteral("rides.csv"), csvLogText(3)).isEmpty());
        QCOMPARE(VelotoolProcess::run({"logbook", "import", "--logbook", logbook(), path(QStringLiteral("rides.csv"))}).exitCode, 0);
        QCOMPARE(VelotoolProcess::run({"logbook", "note", "--logbook", logbook(), "2", "Headwind"}).exitCode, 0);
        QCOMPARE(VelotoolProcess::run({"logbook", "remove", "--logbook", logbook(), "1"}).exitCode, 0);
        QCOMPARE(VelotoolProcess::run({"logbook", "remove", "--logbook", logbook(), "1"}).exitCode, 2);
        const QString copy = path(QStringLiteral("copy.sqlite"));
        QCOMPARE(VelotoolProcess::run({"logbook", "backup", "--logbook", logbook(), copy}).exitCode, 0);
        const QJsonArray rides = listed(copy);
        QCOMPARE(rides.size(), 2);
        QCOMPARE(rides[0].toObject()["note"].toString(), QStringLiteral("Headwind"));

        const QString fit = path(QStringLiteral("again.fit"));
        VelotoolRun run = VelotoolProcess::run({"logbook", "export", "--logbook", logbook(), "2", fit});
        QCOMPARE(run.exitCode, 2);
        QVERIFY(!QFile::exists(fit));
        run = VelotoolProcess::run({"logbook", "export", "--logbook", logbook(), "--model", "Lumo 50", "2", fit});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(QFileInfo(fit).size(), 240);
    }
};

QTEST_GUILESS_MAIN(tst_VelotoolLogbook)
#include "tst_velotoollogbook.moc"
