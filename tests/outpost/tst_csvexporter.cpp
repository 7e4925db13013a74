// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileSizeLimit.h"
#include "SampleRide.h"
#include "support/FileBytes.h"
#include "TimeZoneScope.h"
#include "UnprivilegedFileAccess.h"

#include "linkhub/DeviceCatalogue.h"
#include "linkhub/ModelData.h"
#include "outpost/CsvExporter.h"

#include <QDir>
#include <QFile>
#include <QLocale>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const QByteArray Utc = "UTC0";
const QByteArray CentralEurope = "CET-1CEST,M3.5.0,M10.5.0/3";

const QString Heading = QStringLiteral(
    "Unit; Date; Ride time; Total Distance; Total kcal; Avg. Speed; Max. Speed; Avg. Cadence; Max. Cadence; "
    "Daily max. Temp.; Daily min. Temp.; Avg. heart rate (bpm); Max. heart rate (bpm); Time in heart rate zone; "
    "Time lower heart rate zone; Time upper heart rate zone; Max. altitude; Alt. Gain; Alt. loss; "
    "Avg. Asc. Gradient; Max. Asc. Gradient; Avg. Desc. Gradient; Max. Desc. Gradient; Avg. Asc. Vario; "
    "Max. Asc. Vario; Avg. Desc. Vario; Max. Desc. Vario");

// %1 stands for the date column, which follows the system locale.
const QString MetricBike1 = QStringLiteral(
    "km/kmph/meter/Celsius; %1; 01:02:03; 12.346; 70001; 25.5; 52.3; 85; 300; 23; -5; 140; 185; "
    "00:45:30; 00:20:05; 00:10:00; 0.0; 70000.0; 850.0; 4; 12; 6; 15; 1800; 3600; 900; 5400");
const QString MetricBike2 = QStringLiteral(
    "km/kmph/meter/Celsius; %1; 00:30:00; 5.000; 70001; 18.0; 36.0; 70; 110; 23; -5; 140; 185; "
    "00:45:30; 00:20:05; 00:10:00; 1234.0; 120.0; 130.0; 4; 12; 6; 15; 1800; 3600; 900; 5400");
const QString ImperialBike1 = QStringLiteral(
    "miles/mph/feet/Fahrenheit; %1; 01:02:03; 7.671; 70001; 15.8; 32.5; 85; 300; 73.4; 23; 140; 185; "
    "00:45:30; 00:20:05; 00:10:00; 0.0; 229658.8; 2788.7; 4; 12; 6; 15; 1800; 3600; 900; 5400");
const QString ImperialBike2 = QStringLiteral(
    "miles/mph/feet/Fahrenheit; %1; 00:30:00; 3.107; 70001; 11.2; 22.4; 70; 110; 73.4; 23; 140; 185; "
    "00:45:30; 00:20:05; 00:10:00; 4048.6; 393.7; 426.5; 4; 12; 6; 15; 1800; 3600; 900; 5400");
const QString MetricNoAltitude = QStringLiteral(
    "km/kmph/meter/Celsius; %1; 01:02:03; 12.346; 70001; 25.5; 52.3; 85; 300; -; -; 140; 185; "
    "00:45:30; 00:20:05; 00:10:00; -; -; -; -; -; -; -; -; -; -; -");
const QString ImperialNoAltitude = QStringLiteral(
    "miles/mph/feet/Fahrenheit; %1; 01:02:03; 7.671; 70001; 15.8; 32.5; 85; 300; -; -; 140; 185; "
    "00:45:30; 00:20:05; 00:10:00; -; -; -; -; -; -; -; -; -; -; -");

enum Column { UnitColumn = 0, DateColumn = 1, RideTimeColumn = 2, MaxTempColumn = 9, MinTempColumn = 10,
              InZoneColumn = 13, LowerZoneColumn = 14, UpperZoneColumn = 15 };

QDateTime summerMorning()
{
    return QDateTime(QDate(2026, 7, 1), QTime(10, 0, 0));
}

// The date column in the languages these tests know; the CTest runs fix the system locale.
QString expectedDate(const QDateTime &dateTime)
{
    struct Known
    {
        QDateTime dateTime;
        const char *english;
        const char *german;
    };
    const Known known[] = {
        {summerMorning(), "Wed Jul 1 10:00:00 2026", "Mi. Juli 1 10:00:00 2026"},
        {QDateTime(QDate(2026, 3, 2), QTime(7, 5, 9)), "Mon Mar 2 07:05:09 2026", "Mo. März 2 07:05:09 2026"},
        {QDateTime(QDate(2025, 12, 24), QTime(18, 30, 0)), "Wed Dec 24 18:30:00 2025", "Mi. Dez. 24 18:30:00 2025"},
        {QDateTime(QDate(2026, 5, 9), QTime(0, 0, 0)), "Sat May 9 00:00:00 2026", "Sa. Mai 9 00:00:00 2026"},
        {QDateTime(QDate(2026, 3, 29), QTime(2, 30, 0)), "Sun Mar 29 02:30:00 2026", "So. März 29 02:30:00 2026"},
    };
    const bool german = QLocale::system().language() == QLocale::German;
    for (const Known &entry : known) {
        if (entry.dateTime.date() == dateTime.date() && entry.dateTime.time() == dateTime.time())
            return QString::fromUtf8(german ? entry.german : entry.english);
    }
    return QString();
}

} // namespace

class tst_CsvExporter : public QObject
{
    Q_OBJECT

private:
    DeviceCatalogue::Map catalogue;
    std::unique_ptr<QTemporaryDir> folder;

    ModelData sampleRecord(unsigned char modelId, int unitSystem = 0) const
    {
        ModelData record(catalogue.value(modelId));
        fillSampleRide(record);
        record.unitSystem = unitSystem;
        return record;
    }

    QString logPath() const { return folder->filePath(QStringLiteral("rides.csv")); }

    // The data line of a single export to a new file, as columns.
    QStringList exportedColumns(ModelData &record, int bike, const QDateTime &rideStart = summerMorning())
    {
        if (!CsvExporter::exportToCsv(logPath(), &record, bike, rideStart))
            return {};
        const QList<QByteArray> lines = FileBytes::read(logPath()).split('\n');
        return lines.size() == 2 ? QString::fromUtf8(lines[1]).split(QStringLiteral("; ")) : QStringList();
    }

private slots:
    void initTestCase()
    {
        const QLocale::Language language = QLocale::system().language();
        if (language != QLocale::C && language != QLocale::English && language != QLocale::German)
            QSKIP("the expected dates are in English and German; CTest runs this with LC_ALL=C and de_DE.UTF-8");
        catalogue = DeviceCatalogue::build();
    }

    void cleanupTestCase() { DeviceCatalogue::release(catalogue); }

    void init()
    {
        folder = std::make_unique<QTemporaryDir>();
        QVERIFY(folder->isValid());
        // Searchable by the unprivileged identity of the permission cases.
        QVERIFY(QFile::setPermissions(folder->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                          | QFile::ReadOther | QFile::ExeOther | QFile::ReadGroup
                                                          | QFile::ExeGroup));
    }

    void cleanup() { folder.reset(); }

    void firstExportWritesHeadingAndOneLine()
    {
        ModelData record = sampleRecord(0x23);
        QVERIFY(CsvExporter::exportToCsv(logPath(), &record, 0, summerMorning()));
        const QString expected = Heading + QLatin1Char('\n') + MetricBike1.arg(expectedDate(summerMorning()));
        QCOMPARE(FileBytes::read(logPath()), expected.toUtf8());
        QCOMPARE(Heading.count(QStringLiteral("; ")), 26);
        QCOMPARE(Heading.split(QStringLiteral("; ")).size(), 27);
    }

    void secondExportAppendsOneLine()
    {
        ModelData record = sampleRecord(0x23);
        QVERIFY(CsvExporter::exportToCsv(logPath(), &record, 0, summerMorning()));
        const QByteArray afterFirst = FileBytes::read(logPath());
        QVERIFY(CsvExporter::exportToCsv(logPath(), &record, 1, summerMorning()));
        const QByteArray afterSecond = FileBytes::read(logPath());
        QVERIFY(afterSecond.startsWith(afterFirst));
        QCOMPARE(afterSecond.mid(afterFirst.size()), ('\n' + MetricBike2.arg(expectedDate(summerMorning()))).toUtf8());
        QVERIFY(!afterSecond.endsWith('\n'));
        QCOMPARE(afterSecond.count(Heading.toUtf8()), 1);
    }

    void existingFileGetsNoHeading()
    {
        QVERIFY(FileBytes::write(logPath(), "kept as it was"));
        ModelData record = sampleRecord(0x23);
        QVERIFY(CsvExporter::exportToCsv(logPath(), &record, 0, summerMorning()));
        QCOMPARE(FileBytes::read(logPath()), "kept as it was\n" + MetricBike1.arg(expectedDate(summerMorning())).toUtf8());
    }

    void lines_data()
    {
        QTest::addColumn<int>("modelId");
        QTest::addColumn<int>("unitSystem");
        QTest::addColumn<int>("bike");
        QTest::addColumn<QString>("line");
        QTest::newRow("metric, bike 1") << 0x23 << 0 << 0 << MetricBike1;
        QTest::newRow("metric, bike 2") << 0x51 << 0 << 1 << MetricBike2;
        QTest::newRow("imperial, bike 1") << 0x61 << 1 << 0 << ImperialBike1;
        QTest::newRow("imperial, bike 2") << 0x23 << 1 << 1 << ImperialBike2;
        QTest::newRow("metric, no altitude feature") << 0x22 << 0 << 0 << MetricNoAltitude;
        QTest::newRow("imperial, no altitude feature") << 0x11 << 1 << 0 << ImperialNoAltitude;
        QTest::newRow("any non-zero unit system is imperial") << 0x12 << 7 << 0 << ImperialNoAltitude;
    }

    void lines()
    {
        QFETCH(int, modelId);
        QFETCH(int, unitSystem);
        QFETCH(int, bike);
        QFETCH(QString, line);
        ModelData record = sampleRecord(quint8(modelId), unitSystem);
        QCOMPARE(exportedColumns(record, bike), line.arg(expectedDate(summerMorning())).split(QStringLiteral("; ")));
    }

    void durations_data()
    {
        QTest::addColumn<int>("hours");
        QTest::addColumn<int>("minutes");
        QTest::addColumn<int>("seconds");
        QTest::addColumn<QString>("text");
        QTest::newRow("1 h 2 min 3 s") << 1 << 2 << 3 << "01:02:03";
        QTest::newRow("nothing") << 0 << 0 << 0 << "00:00:00";
        QTest::newRow("last second of a day") << 23 << 59 << 59 << "23:59:59";
        QTest::newRow("24 hours") << 24 << 0 << 0 << "";
        QTest::newRow("60 minutes") << 1 << 60 << 0 << "";
        QTest::newRow("60 seconds") << 1 << 0 << 60 << "";
    }

    void durations()
    {
        QFETCH(int, hours);
        QFETCH(int, minutes);
        QFETCH(int, seconds);
        QFETCH(QString, text);
        ModelData record = sampleRecord(0x23);
        record.bikes[1].rideTimeHour = quint8(hours);
        record.bikes[1].rideTimeMin = quint8(minutes);
        record.bikes[1].rideTimeSec = quint8(seconds);
        record.hrInZoneHour = quint8(hours);
        record.hrInZoneMin = quint8(minutes);
        record.hrInZoneSec = quint8(seconds);
        record.hrLowerZoneHour = quint8(hours);
        record.hrLowerZoneMin = quint8(minutes);
        record.hrLowerZoneSec = quint8(seconds);
        record.hrUpperZoneHour = quint8(hours);
        record.hrUpperZoneMin = quint8(minutes);
        record.hrUpperZoneSec = quint8(seconds);
        const QStringList columns = exportedColumns(record, 1);
        QCOMPARE(columns.size(), 27);
        QCOMPARE(columns[RideTimeColumn], text);
        QCOMPARE(columns[InZoneColumn], text);
        QCOMPARE(columns[LowerZoneColumn], text);
        QCOMPARE(columns[UpperZoneColumn], text);
    }

    void temperatures_data()
    {
        QTest::addColumn<int>("unitSystem");
        QTest::addColumn<int>("celsius");
        QTest::addColumn<QString>("text");
        QTest::newRow("23 °C") << 0 << 23 << "23";
        QTest::newRow("-5 °C") << 0 << -5 << "-5";
        QTest::newRow("-128 °C") << 0 << -128 << "-128";
        QTest::newRow("23 °C in °F") << 1 << 23 << "73.4";
        QTest::newRow("-5 °C in °F") << 1 << -5 << "23";
        QTest::newRow("-40 °C in °F") << 1 << -40 << "-40";
        QTest::newRow("37 °C in °F") << 1 << 37 << "98.6";
        QTest::newRow("0 °C in °F") << 1 << 0 << "32";
    }

    void temperatures()
    {
        QFETCH(int, unitSystem);
        QFETCH(int, celsius);
        QFETCH(QString, text);
        ModelData record = sampleRecord(0x23, unitSystem);
        record.dailyMaxTemp = qint8(celsius);
        record.dailyMinTemp = qint8(celsius);
        const QStringList columns = exportedColumns(record, 0);
        QCOMPARE(columns.size(), 27);
        QCOMPARE(columns[MaxTempColumn], text);
        QCOMPARE(columns[MinTempColumn], text);
    }

    void dateInSystemLanguage_data()
    {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QTime>("time");
        QTest::newRow("July") << Utc << QDate(2026, 7, 1) << QTime(10, 0, 0);
        QTest::newRow("July in Central Europe") << CentralEurope << QDate(2026, 7, 1) << QTime(10, 0, 0);
        QTest::newRow("March, a name beyond ASCII in German") << Utc << QDate(2026, 3, 2) << QTime(7, 5, 9);
        QTest::newRow("December") << CentralEurope << QDate(2025, 12, 24) << QTime(18, 30, 0);
        QTest::newRow("May, midnight") << Utc << QDate(2026, 5, 9) << QTime(0, 0, 0);
        QTest::newRow("a clock time skipped by summer time") << CentralEurope << QDate(2026, 3, 29) << QTime(2, 30, 0);
    }

    void dateInSystemLanguage()
    {
        QFETCH(QByteArray, zone);
        QFETCH(QDate, date);
        QFETCH(QTime, time);
        TimeZoneScope scope(zone);
        const QDateTime rideStart(date, time);
        ModelData record = sampleRecord(0x23);
        QVERIFY(CsvExporter::exportToCsv(logPath(), &record, 0, rideStart));
        // Compared as bytes: the file is in the system's encoding, UTF-8 on Linux.
        const QList<QByteArray> columns = FileBytes::read(logPath()).split('\n').value(1).split(';');
        QCOMPARE(columns.size(), 27);
        QCOMPARE(columns[DateColumn], ' ' + expectedDate(rideStart).toUtf8());
    }

    void openFailures_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::newRow("missing folder") << QStringLiteral("missing folder");
        QTest::newRow("a folder as file name") << QStringLiteral("folder");
        QTest::newRow("a file as folder") << QStringLiteral("file as folder");
        QTest::newRow("read-only file") << QStringLiteral("read-only");
    }

    void openFailures()
    {
        QFETCH(QString, failure);
        QString path;
        QByteArray before;
        if (failure == "missing folder") {
            path = folder->filePath(QStringLiteral("missing/rides.csv"));
        } else if (failure == "folder") {
            QVERIFY(QDir(folder->path()).mkdir(QStringLiteral("rides.csv")));
            path = logPath();
        } else if (failure == "file as folder") {
            QVERIFY(FileBytes::write(logPath(), "a file"));
            before = "a file";
            path = logPath() + QStringLiteral("/rides.csv");
        } else {
            before = Heading.toUtf8() + "\nan earlier line";
            QVERIFY(FileBytes::write(logPath(), before));
            QVERIFY(QFile::setPermissions(logPath(), QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
            path = logPath();
        }

        ModelData record = sampleRecord(0x23);
        QTest::ignoreMessage(QtDebugMsg, "could not open file!");
        bool exported = true;
        {
            UnprivilegedFileAccess access;
            if (!access.isEffective())
                QSKIP("the file system identity cannot be changed here");
            exported = CsvExporter::exportToCsv(path, &record, 0, summerMorning());
        }
        QVERIFY(!exported);
        if (failure == "missing folder")
            QVERIFY(QDir(folder->path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
        else if (failure == "folder")
            QVERIFY(QFileInfo(logPath()).isDir());
        else
            QCOMPARE(FileBytes::read(logPath()), before);
    }

    void writeFailureIsReported()
    {
        if (!QFile::exists(QStringLiteral("/dev/full")))
            QSKIP("needs /dev/full, which refuses every write");
        ModelData record = sampleRecord(0x23);
        QTest::ignoreMessage(QtDebugMsg, "could not write file!");
        QVERIFY(!CsvExporter::exportToCsv(QStringLiteral("/dev/full"), &record, 0, summerMorning()));
    }

    void fullDiskLeavesTheLogAsItWas_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<int>("room");
        QTest::newRow("first export, cut in the headings") << QByteArray() << 100;
        QTest::newRow("first export, cut in the line") << QByteArray() << 600;
        QTest::newRow("later export") << (Heading + "\nan earlier line").toUtf8() << 500;
    }

    void fullDiskLeavesTheLogAsItWas()
    {
        QFETCH(QByteArray, before);
        QFETCH(int, room);
        if (!before.isEmpty())
            QVERIFY(FileBytes::write(logPath(), before));
        ModelData record = sampleRecord(0x23);
        QTest::ignoreMessage(QtDebugMsg, "could not write file!");
        bool exported = true;
        {
            FileSizeLimit limit{rlim_t(room)};
            exported = CsvExporter::exportToCsv(logPath(), &record, 0, summerMorning());
        }
        QVERIFY(!exported);
        QCOMPARE(QFile::exists(logPath()), !before.isEmpty());
        QCOMPARE(FileBytes::read(logPath()), before);
        // The next export finds the log as if the failed one had never been tried.
        QVERIFY(CsvExporter::exportToCsv(logPath(), &record, 0, summerMorning()));
        QCOMPARE(FileBytes::read(logPath()).count(Heading.toUtf8()), 1);
    }

    void programsAppendingAtOnceAllLand()
    {
        constexpr int Programs = 4;
        constexpr int RidesEach = 25;
        int go[2];
        QCOMPARE(::pipe(go), 0);
        QList<pid_t> children;
        for (int i = 0; i < Programs; ++i) {
            const pid_t child = ::fork();
            if (child == 0) {
                char start = 0;
                ::close(go[1]);
                bool allWritten = ::read(go[0], &start, 1) == 0;
                ModelData record = sampleRecord(0x23);
                for (int ride = 0; ride < RidesEach; ++ride)
                    allWritten = CsvExporter::exportToCsv(logPath(), &record, i % 2, summerMorning()) && allWritten;
                ::_exit(allWritten ? 0 : 1);
            }
            QVERIFY(child > 0);
            children << child;
        }
        ::close(go[0]);
        ::close(go[1]); // every program starts now
        for (pid_t child : children) {
            int status = 0;
            QCOMPARE(::waitpid(child, &status, 0), child);
            QVERIFY(WIFEXITED(status));
            QCOMPARE(WEXITSTATUS(status), 0);
        }
        const QList<QByteArray> lines = FileBytes::read(logPath()).split('\n');
        QCOMPARE(lines.size(), 1 + Programs * RidesEach);
        QCOMPARE(lines[0], Heading.toUtf8());
        const QByteArray bike1 = MetricBike1.arg(expectedDate(summerMorning())).toUtf8();
        const QByteArray bike2 = MetricBike2.arg(expectedDate(summerMorning())).toUtf8();
        for (const QByteArray &line : lines.mid(1))
            QVERIFY2(line == bike1 || line == bike2, line.constData());
    }

    void refusesWhatCannotBeExported_data()
    {
        QTest::addColumn<bool>("withRecord");
        QTest::addColumn<bool>("withModel");
        QTest::addColumn<int>("bike");
        QTest::newRow("no record") << false << true << 0;
        QTest::newRow("no model") << true << false << 0;
        QTest::newRow("bike index -1") << true << true << -1;
        QTest::newRow("bike index 2") << true << true << 2;
    }

    void refusesWhatCannotBeExported()
    {
        QFETCH(bool, withRecord);
        QFETCH(bool, withModel);
        QFETCH(int, bike);
        ModelData record(withModel ? catalogue.value(0x23) : nullptr);
        QVERIFY(!CsvExporter::exportToCsv(logPath(), withRecord ? &record : nullptr, bike, summerMorning()));
        QVERIFY(!QFile::exists(logPath()));
    }

    void pathIsUsedAsGiven()
    {
        const QString path = folder->filePath(QStringLiteral("Jürgen/Fahrten nach 東京.csv"));
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        ModelData record = sampleRecord(0x23);
        QVERIFY(CsvExporter::exportToCsv(path, &record, 0, summerMorning()));
        QCOMPARE(QDir(QFileInfo(path).path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{QFileInfo(path).fileName()});
        QVERIFY(FileBytes::read(path).startsWith(Heading.toUtf8() + '\n'));
    }
};

QTEST_GUILESS_MAIN(tst_CsvExporter)
#include "tst_csvexporter.moc"
