// SPDX-License-Identifier: GPL-3.0-or-later
#include "outpost/FitReader.h"
#include "support/FileBytes.h"

#include "linkhub/DeviceCatalogue.h"
#include "logbook/CsvLogImporter.h"
#include "logbook/CsvLogLine.h"
#include "logbook/Logbook.h"
#include "logbook/RideListModel.h"
#include "logbook/RideQuery.h"
#include "logbook/RideReexport.h"
#include "logbook/RideTotals.h"
#include "outpost/CsvExporter.h"
#include "tools/simulator/SampleRide.h"

#include <QFile>
#include <QMap>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

#include <memory>

namespace {

constexpr quint16 SessionGlobal = 18;
constexpr qint64 FitEpoch = 631065600; // 1989-12-31 00:00:00 UTC in Unix seconds
const QTime StartTime(9, 30);

// Around two year ends, so that ISO weeks belong to the year of their Thursday.
const QList<QDate> RideDays{QDate(2025, 12, 29), QDate(2026, 1, 1), QDate(2026, 1, 4), QDate(2026, 3, 16),
                            QDate(2026, 3, 17), QDate(2026, 12, 31), QDate(2027, 1, 3), QDate(2027, 1, 4)};

ModelData rideOfDay(const DeviceModel *model, int index)
{
    ModelData record = SampleRide::forModel(model);
    record.bikes[0].dailyDistance += quint32(index) * 1234567;
    record.bikes[0].rideTimeMin = quint8(index * 7 % 60);
    record.bikes[0].altGain += quint32(index) * 10;
    record.dailyCalories += quint32(index) * 33;
    return record;
}

QString periodOf(const QDate &day, RideTotals::Period period)
{
    int year = 0;
    switch (period) {
    case RideTotals::Period::Week: {
        const int week = day.weekNumber(&year);
        return QStringLiteral("%1-W%2").arg(year).arg(week, 2, 10, QLatin1Char('0'));
    }
    case RideTotals::Period::Month:
        return day.toString(QStringLiteral("yyyy-MM"));
    case RideTotals::Period::Year:
        return day.toString(QStringLiteral("yyyy"));
    }
    return QString();
}

} // namespace

class tst_CsvLogImport : public QObject
{
    Q_OBJECT

private:
    DeviceCatalogue::Map catalogue;
    QTranslator headings;
    std::unique_ptr<QTemporaryDir> folder;
    std::unique_ptr<Logbook> logbook;

    QString path(const QString &name) const { return folder->filePath(name); }

    /// A log of the product with a ride on each of RideDays, then a repeated and a malformed line.
    QString writeLog(const DeviceModel *model)
    {
        const QString log = path(QStringLiteral("rides.csv"));
        for (int i = 0; i < RideDays.size(); ++i) {
            ModelData record = rideOfDay(model, i);
            if (!CsvExporter::exportToCsv(log, &record, 0, QDateTime(RideDays[i], StartTime)))
                return QString();
        }
        QByteArray bytes = FileBytes::read(log);
        const QList<QByteArray> lines = bytes.split('\n');
        bytes += '\n' + lines[2] + "\nkm/kmph/meter/Celsius; Sat Mar 16 09:30:00 2024; 01:02:03";
        return FileBytes::write(log, bytes) ? log : QString();
    }

    ImportOutcome import(const QString &log, std::optional<LogbookError> &failure)
    {
        QFile file(log);
        ImportOutcome outcome;
        if (file.open(QIODevice::ReadOnly))
            failure = CsvLogImporter(*logbook, 1, QString()).import(file, outcome);
        return outcome;
    }

    void importSample(quint8 modelId)
    {
        const QString log = writeLog(catalogue.value(modelId));
        QVERIFY(!log.isEmpty());
        std::optional<LogbookError> failure;
        const ImportOutcome outcome = import(log, failure);
        QVERIFY(!failure);
        QCOMPARE(outcome.imported, RideDays.size());
    }

private slots:
    void initTestCase()
    {
        catalogue = DeviceCatalogue::build();
        // The headings in the language the desktop program writes them in; the import's own texts
        // stay English, as the other cases read them.
        if (headings.load(QLocale::system(), QStringLiteral("outpost"), QStringLiteral("_"),
                          QStringLiteral(PACEROW_CATALOGUE_DIR)))
            QCoreApplication::installTranslator(&headings);
    }
    void cleanupTestCase() { DeviceCatalogue::release(catalogue); }

    void init()
    {
        folder = std::make_unique<QTemporaryDir>();
        QVERIFY(folder->isValid());
        logbook = std::make_unique<Logbook>(path(QStringLiteral("logbook.sqlite")));
        QVERIFY(!logbook->open());
    }

    void cleanup() { logbook.reset(); }

    // The heading line is in the writer's language; the import takes it by its place.
    void importsLogWithHeadingsInTheUsersLanguage()
    {
        const QString log = writeLog(catalogue.value(0x51));
        QVERIFY(!log.isEmpty());
        const bool german = QLocale::system().language() == QLocale::German;
        QVERIFY(FileBytes::read(log).startsWith(german ? "Einheiten; Datum; Fahrzeit; " : "Unit; Date; Ride time; "));
        std::optional<LogbookError> failure;
        QCOMPARE(import(log, failure).imported, RideDays.size());
        QVERIFY(!failure);
    }

    void importsLogOfEitherUnitSystem_data()
    {
        QTest::addColumn<quint8>("modelId");
        QTest::newRow("metric, with altitudes") << quint8(0x51);
        QTest::newRow("imperial, without altitudes") << quint8(0x22);
    }

    void importsLogOfEitherUnitSystem()
    {
        QFETCH(quint8, modelId);
        const DeviceModel *model = catalogue.value(modelId);
        const QString log = writeLog(model);
        QVERIFY(!log.isEmpty());

        std::optional<LogbookError> failure;
        ImportOutcome outcome = import(log, failure);
        QVERIFY(!failure);
        QCOMPARE(outcome.imported, RideDays.size());
        QCOMPARE(outcome.alreadyThere, 1);
        QCOMPARE(outcome.refused.size(), 1);
        QCOMPARE(outcome.refused[0].line, RideDays.size() + 3);
        QCOMPARE(outcome.refused[0].reason, QStringLiteral("3 columns instead of 27"));

        QList<RideEntry> rides;
        QVERIFY(!RideQuery::rides(*logbook, {}, rides));
        QCOMPARE(rides.size(), RideDays.size());
        const int unitSystem = SampleRide::forModel(model).unitSystem;
        for (int i = 0; i < rides.size(); ++i) {
            const RideEntry expected = RideEntry::fromRecord(rideOfDay(model, i), 0);
            const RideEntry &ride = rides[i];
            QCOMPARE(ride.date, RideDays[i]);
            QCOMPARE(ride.start, QDateTime(RideDays[i], StartTime));
            QCOMPARE(ride.source, RideEntry::Source::Csv);
            QCOMPARE(ride.model, QString());
            QCOMPARE(ride.unitSystem, unitSystem);
            QCOMPARE(ride.hasAltitude, model->has(DeviceModel::AltitudeValues));
            for (int v = 0; v < RideValueCount; ++v) {
                const RideValue which = RideValue(v);
                const qint64 got = ride.value(which);
                qint64 want = expected.value(which);
                if (!ride.hasAltitude && (v >= int(RideValue::MaxAltitude) || which == RideValue::MaxTemperature
                                          || which == RideValue::MinTemperature))
                    want = 0;
                // The log rounds: distance to its last digit, imperial speeds to a tenth of a mile an hour.
                const qint64 tolerance = which == RideValue::Distance ? CsvLogLine::distanceTolerance(unitSystem)
                    : (unitSystem == 1 && (which == RideValue::AvgSpeed || which == RideValue::MaxSpeed)) ? 1
                                                                                                       : 0;
                QVERIFY2(qAbs(got - want) <= tolerance,
                         qPrintable(QStringLiteral("value %1: %2 instead of %3").arg(v).arg(got).arg(want)));
            }
        }

        // The same log again brings nothing new.
        outcome = import(log, failure);
        QVERIFY(!failure);
        QCOMPARE(outcome.imported, 0);
        QCOMPARE(outcome.alreadyThere, RideDays.size() + 1);
    }

    void totalsByPeriod_data()
    {
        QTest::addColumn<RideTotals::Period>("period");
        QTest::newRow("week") << RideTotals::Period::Week;
        QTest::newRow("month") << RideTotals::Period::Month;
        QTest::newRow("year") << RideTotals::Period::Year;
    }

    void totalsByPeriod()
    {
        QFETCH(RideTotals::Period, period);
        importSample(0x51);
        QMap<QString, PeriodTotal> expected;
        for (int i = 0; i < RideDays.size(); ++i) {
            const ModelData record = rideOfDay(catalogue.value(0x51), i);
            const Bike &bike = record.bikes[0];
            PeriodTotal &sum = expected[periodOf(RideDays[i], period)];
            sum.period = periodOf(RideDays[i], period);
            sum.rides += 1;
            sum.distance += qRound64(bike.dailyDistance / 1000.0) * 1000; // the log keeps whole metres
            sum.rideTime += bike.rideTimeHour * 3600 + bike.rideTimeMin * 60 + bike.rideTimeSec;
            sum.ascent += bike.altGain;
            sum.kcal += record.dailyCalories;
        }
        QList<PeriodTotal> totals;
        QVERIFY(!RideTotals::compute(*logbook, period, 0, totals));
        const QList<PeriodTotal> wanted = expected.values(); // oldest period first, as the keys sort
        QCOMPARE(totals.size(), wanted.size());
        for (int i = 0; i < totals.size(); ++i) {
            const PeriodTotal &want = wanted.at(i);
            QCOMPARE(totals[i].period, want.period);
            QCOMPARE(totals[i].rides, want.rides);
            QCOMPARE(totals[i].distance, want.distance);
            QCOMPARE(totals[i].rideTime, want.rideTime);
            QCOMPARE(totals[i].ascent, want.ascent);
            QCOMPARE(totals[i].kcal, want.kcal);
        }
        QList<PeriodTotal> otherBike;
        QVERIFY(!RideTotals::compute(*logbook, period, 2, otherBike));
        QVERIFY(otherBike.isEmpty());
    }

    void reexportedRideReadsBack()
    {
        importSample(0x51);
        QList<RideEntry> rides;
        QVERIFY(!RideQuery::rides(*logbook, {}, rides));
        const RideEntry ride = rides.at(3);
        const RideReexport reexport;
        const DeviceModel *model = reexport.model(0x51);
        QVERIFY(model);

        const QString fit = path(QStringLiteral("again.fit"));
        QVERIFY(reexport.write(ride, *model, fit));
        const FitFile file = FitReader::read(FileBytes::read(fit));
        QVERIFY2(file.isValid(), qPrintable(file.error));
        const FitMessage session = file.messagesOf(SessionGlobal).value(0);
        QCOMPARE(qint64(session.field(2)->raw()) + FitEpoch, QDateTime(RideDays[3], StartTime).toSecsSinceEpoch());
        QCOMPARE(qint64(session.field(9)->raw()), ride.value(RideValue::Distance) / 10); // centimetres
        QCOMPARE(qint64(session.field(7)->raw()), ride.value(RideValue::RideTime) * 1000);

        // Written to a log and read again, the ride is the same ride.
        const QString csv = path(QStringLiteral("again.csv"));
        QVERIFY(reexport.write(ride, *model, csv));
        logbook = std::make_unique<Logbook>(path(QStringLiteral("other.sqlite")));
        QVERIFY(!logbook->open());
        std::optional<LogbookError> failure;
        QCOMPARE(import(csv, failure).imported, 1);
        QList<RideEntry> again;
        QVERIFY(!RideQuery::rides(*logbook, {}, again));
        QCOMPARE(again.value(0).values, ride.values);
        QCOMPARE(again.value(0).start, ride.start);
    }

    void listModelShowsNewestRides()
    {
        importSample(0x51);
        RideListModel model(*logbook);
        model.show({std::nullopt, QDate(), QDate(), 3, {}, {}});
        QCOMPARE(model.rowCount(), 3);
        QCOMPARE(model.columnCount(), int(RideListModel::ColumnCount));
        QCOMPARE(model.entry(0).date, RideDays[RideDays.size() - 3]);
        QCOMPARE(model.index(2, RideListModel::DateColumn).data().toDate(), RideDays.last());
        model.show({1, QDate(2026, 3, 1), QDate(2026, 3, 31), 0, {}, {}});
        QCOMPARE(model.rowCount(), 2);
    }

    // Numbers, days and times in every form the log's readers take, plain or not.
    void readsValuesInAnyFormTheyTake_data()
    {
        QTest::addColumn<QString>("date");
        QTest::addColumn<QString>("rideTime");
        QTest::addColumn<QString>("distance");
        QTest::addColumn<qint64>("millimetres"); // -1: the line is refused
        QTest::newRow("plain") << "Fri Mar 1 09:30:00 2024" << "01:02:03" << "12.500" << qint64(12500000);
        QTest::newRow("leading zeros") << "Fri Mar 01 09:30:00 02024" << "01:02:03" << "012.5" << qint64(12500000);
        QTest::newRow("no fraction") << "Fri Mar 1 09:30:00 2024" << "01:02:03" << "12." << qint64(12000000);
        QTest::newRow("no whole part") << "Fri Mar 1 09:30:00 2024" << "01:02:03" << ".5" << qint64(500000);
        QTest::newRow("sign and exponent") << "Fri Mar 1 09:30:00 2024" << "01:02:03" << "+1.25e1" << qint64(12500000);
        QTest::newRow("negative") << "Fri Mar 1 09:30:00 2024" << "01:02:03" << "-12.5" << qint64(-1);
        QTest::newRow("two points") << "Fri Mar 1 09:30:00 2024" << "01:02:03" << "12.5.1" << qint64(-1);
        QTest::newRow("comma") << "Fri Mar 1 09:30:00 2024" << "01:02:03" << "12,5" << qint64(-1);
        QTest::newRow("semicolon without space") << "Fri Mar 1 09:30:00 2024" << "01:02:03" << "12;5" << qint64(-1);
        QTest::newRow("minutes beyond 59") << "Fri Mar 1 09:30:00 2024" << "01:62:03" << "12.5" << qint64(-1);
        QTest::newRow("letters in the time") << "Fri Mar 1 09:30:00 2024" << "01:0x:03" << "12.5" << qint64(-1);
        QTest::newRow("no such day") << "Fri Feb 30 09:30:00 2024" << "01:02:03" << "12.5" << qint64(-1);
        QTest::newRow("month in capitals") << "Fri MAR 1 09:30:00 2024" << "01:02:03" << "12.5" << qint64(12500000);
    }

    void readsValuesInAnyFormTheyTake()
    {
        QFETCH(QString, date);
        QFETCH(QString, rideTime);
        QFETCH(QString, distance);
        QFETCH(qint64, millimetres);
        const QString line = QStringLiteral("km/kmph/meter/Celsius; %1; %2; %3; 800; 25.5; 48.0; 80; 110; 21; 9; 130; 171; "
                                            "00:40:00; 00:10:00; 00:05:00; 812.0; 640.0; 655.0; 4; 11; 5; 12; 600; 1500; "
                                            "700; 1700")
                                 .arg(date, rideTime, distance);
        QString reason;
        const std::optional<RideEntry> entry = CsvLogLine().read(line, reason);
        QCOMPARE(entry.has_value(), millimetres >= 0);
        if (!entry)
            return;
        QCOMPARE(entry->date, QDate(2024, 3, 1));
        QCOMPARE(entry->value(RideValue::RideTime), 3723);
        QCOMPARE(entry->value(RideValue::Distance), millimetres);
    }
};

QTEST_GUILESS_MAIN(tst_CsvLogImport)
#include "tst_csvlogimport.moc"
