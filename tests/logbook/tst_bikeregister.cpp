// SPDX-License-Identifier: GPL-3.0-or-later
#include "velobook/LogbookFiller.h"

#include "logbook/BikeRegister.h"
#include "logbook/RideTotals.h"

#include <QTest>

#include <memory>

namespace {

const QString Device = QStringLiteral("Lumo 60");
constexpr qint64 Kilometre = 1000000;

RideEntry rideWithOdometer(const QDate &day, int bike, double kilometres, std::optional<quint64> odometer)
{
    RideEntry entry = LogbookFiller::ride(day, bike, kilometres);
    entry.odometer = odometer;
    return entry;
}

RideEntry importedRide(const QDate &day, double kilometres)
{
    RideEntry entry = LogbookFiller::ride(day, 1, kilometres);
    entry.device.clear();
    entry.source = RideEntry::Source::Csv;
    return entry;
}

} // namespace

class tst_BikeRegister : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<LogbookFiller> filler;

private slots:
    void init()
    {
        filler = std::make_unique<LogbookFiller>();
        QVERIFY(filler->isOpen());
    }

    void cleanup() { filler.reset(); }

    void namesAndServiceDays_data()
    {
        QTest::addColumn<QString>("device");
        QTest::addColumn<int>("bike");
        QTest::addColumn<QDate>("serviceDay");
        QTest::addColumn<qint64>("distanceSince");
        QTest::newRow("never serviced") << Device << 1 << QDate() << 7 * Kilometre;
        QTest::newRow("serviced on a ride day") << Device << 1 << QDate(2026, 5, 2) << 6 * Kilometre;
        QTest::newRow("serviced after the last ride") << Device << 1 << QDate(2026, 6, 1) << qint64(0);
        QTest::newRow("second bike") << Device << 2 << QDate(2026, 5, 1) << 16 * Kilometre;
        QTest::newRow("imported logs") << QString() << 1 << QDate(2026, 5, 3) << 32 * Kilometre;
    }

    void namesAndServiceDays()
    {
        QFETCH(QString, device);
        QFETCH(int, bike);
        QFETCH(QDate, serviceDay);
        QFETCH(qint64, distanceSince);
        QVERIFY(filler->add({LogbookFiller::ride(QDate(2026, 5, 1), 1, 1), LogbookFiller::ride(QDate(2026, 5, 2), 1, 2),
                             LogbookFiller::ride(QDate(2026, 5, 3), 1, 4), LogbookFiller::ride(QDate(2026, 5, 3), 2, 16),
                             importedRide(QDate(2026, 5, 3), 32), importedRide(QDate(2026, 4, 3), 64)}));
        BikeRegister bikes(filler->logbook());
        QVERIFY(!bikes.rename(device, bike, QStringLiteral(" Road bike ")));
        QVERIFY(!bikes.setServiceDay(device, bike, serviceDay));
        QHash<BikeRegister::Key, QString> names;
        QVERIFY(!bikes.names(names));
        QCOMPARE(names, (QHash<BikeRegister::Key, QString>{{{device, bike}, QStringLiteral("Road bike")}}));

        QList<BikeRecord> known;
        QVERIFY(!bikes.bikes(known));
        QCOMPARE(known.size(), 3);
        // The imported logs come after the devices.
        QCOMPARE(known.last().device, QString());
        for (const BikeRecord &record : std::as_const(known)) {
            const bool named = record.device == device && record.bike == bike;
            QCOMPARE(record.name, named ? QStringLiteral("Road bike") : QString());
            QCOMPARE(record.model, Device);
            if (named) {
                QCOMPARE(record.serviceDay, serviceDay);
                QCOMPARE(record.distanceSince, distanceSince);
            }
        }

        QVERIFY(!bikes.rename(device, bike, QString()));
        names.clear();
        QVERIFY(!bikes.names(names));
        QVERIFY(names.isEmpty());
    }

    void odometerLeavesOutRidesWithoutRead()
    {
        QVERIFY(filler->add({rideWithOdometer(QDate(2026, 5, 3), 1, 10, 1030 * Kilometre),
                             rideWithOdometer(QDate(2026, 5, 1), 1, 10, 1000 * Kilometre),
                             rideWithOdometer(QDate(2026, 5, 2), 1, 10, std::nullopt),
                             rideWithOdometer(QDate(2026, 5, 2), 2, 10, 50 * Kilometre)}));
        QList<OdometerRead> reads;
        QVERIFY(!BikeRegister(filler->logbook()).odometer(Device, 1, reads));
        QCOMPARE(reads.size(), 2);
        QCOMPARE(reads[0].day, QDate(2026, 5, 1));
        QCOMPARE(reads[0].odometer, quint64(1000 * Kilometre));
        QCOMPARE(reads[1].day, QDate(2026, 5, 3));
        QCOMPARE(reads[1].odometer, quint64(1030 * Kilometre));
    }

    void yearSoFarAgainstYearBefore_data()
    {
        QTest::addColumn<QDate>("today");
        QTest::addColumn<int>("bike");
        QTest::addColumn<qint64>("thisYear");
        QTest::addColumn<qint64>("lastYear");
        QTest::newRow("leap day") << QDate(2028, 2, 29) << 1 << qint64(8 + 16) << qint64(1 + 2);
        QTest::newRow("day before a leap day") << QDate(2028, 2, 28) << 1 << qint64(8) << qint64(1 + 2);
        QTest::newRow("day after a leap day") << QDate(2028, 3, 1) << 1 << qint64(8 + 16 + 32) << qint64(1 + 2 + 4);
        QTest::newRow("year after a leap year") << QDate(2029, 2, 28) << 1 << qint64(64) << qint64(8);
        QTest::newRow("both bikes") << QDate(2029, 3, 1) << 0 << qint64(64 + 128) << qint64(8 + 16 + 32 + 256);
        QTest::newRow("second bike") << QDate(2029, 3, 1) << 2 << qint64(0) << qint64(256);
    }

    void yearSoFarAgainstYearBefore()
    {
        QFETCH(QDate, today);
        QFETCH(int, bike);
        QFETCH(qint64, thisYear);
        QFETCH(qint64, lastYear);
        const QList<QPair<QDate, int>> days{{QDate(2027, 1, 1), 1},  {QDate(2027, 2, 28), 2}, {QDate(2027, 3, 1), 4},
                                            {QDate(2028, 1, 5), 8},  {QDate(2028, 2, 29), 16}, {QDate(2028, 3, 1), 32},
                                            {QDate(2029, 2, 28), 64}, {QDate(2029, 3, 1), 128}};
        QList<RideEntry> rides;
        for (const auto &[day, kilometres] : days)
            rides << LogbookFiller::ride(day, 1, kilometres);
        rides << LogbookFiller::ride(QDate(2028, 2, 1), 2, 256);
        QVERIFY(filler->add(rides));

        PeriodTotal now;
        PeriodTotal before;
        QVERIFY(!RideTotals::yearSoFar(filler->logbook(), today, bike, now, before));
        QCOMPARE(now.distance, thisYear * Kilometre);
        QCOMPARE(before.distance, lastYear * Kilometre);
        QCOMPARE(now.period, QString::number(today.year()));
        QCOMPARE(before.period, QString::number(today.year() - 1));
        // Every ride of the fill is an hour long and of another distance, a power of two.
        QCOMPARE(now.rides, qint64(qPopulationCount(quint64(thisYear))));
        QCOMPARE(before.rideTime, 3600 * qint64(qPopulationCount(quint64(lastYear))));
    }

    void recentPeriodsFillTheGaps_data()
    {
        QTest::addColumn<RideTotals::Period>("period");
        QTest::addColumn<QStringList>("withRides");
        QTest::addColumn<int>("count");
        QTest::addColumn<QStringList>("shown");
        QTest::newRow("weeks over a new year") << RideTotals::Period::Week << QStringList{"2026-W52", "2027-W02"} << 12
                                               << QStringList{"2026-W52", "2026-W53", "2027-W01", "2027-W02"};
        QTest::newRow("the last months") << RideTotals::Period::Month << QStringList{"2026-10", "2026-12"} << 2
                                         << QStringList{"2026-11", "2026-12"};
        QTest::newRow("every year") << RideTotals::Period::Year << QStringList{"2024", "2026"} << 0
                                    << QStringList{"2024", "2025", "2026"};
    }

    void recentPeriodsFillTheGaps()
    {
        QFETCH(RideTotals::Period, period);
        QFETCH(QStringList, withRides);
        QFETCH(int, count);
        QFETCH(QStringList, shown);
        QList<PeriodTotal> totals;
        for (const QString &name : std::as_const(withRides))
            totals.append({name, 1, 1000});
        QStringList names;
        for (const PeriodTotal &total : RideTotals::recent(period, totals, count)) {
            names << total.period;
            QCOMPARE(total.rides, qint64(withRides.contains(total.period) ? 1 : 0));
        }
        QCOMPARE(names, shown);
    }

    void periodNamesGiveTheirFirstDay_data()
    {
        QTest::addColumn<RideTotals::Period>("period");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QDate>("firstDay");
        QTest::newRow("week of the year before") << RideTotals::Period::Week << QStringLiteral("2026-W53") << QDate(2026, 12, 28);
        QTest::newRow("first week") << RideTotals::Period::Week << QStringLiteral("2027-W01") << QDate(2027, 1, 4);
        QTest::newRow("no such week") << RideTotals::Period::Week << QStringLiteral("2027-W53") << QDate();
        QTest::newRow("month") << RideTotals::Period::Month << QStringLiteral("2028-02") << QDate(2028, 2, 1);
        QTest::newRow("year") << RideTotals::Period::Year << QStringLiteral("2028") << QDate(2028, 1, 1);
        QTest::newRow("not a period") << RideTotals::Period::Month << QStringLiteral("2028-W05") << QDate();
    }

    void periodNamesGiveTheirFirstDay()
    {
        QFETCH(RideTotals::Period, period);
        QFETCH(QString, name);
        QFETCH(QDate, firstDay);
        QCOMPARE(RideTotals::firstDay(period, name), firstDay);
        if (firstDay.isValid()) {
            QCOMPARE(RideTotals::periodOf(period, firstDay), name);
            QVERIFY(RideTotals::periodOf(period, firstDay.addDays(-1)) != name);
            const auto [first, last] = RideTotals::daysOf(period, firstDay.addDays(3));
            QCOMPARE(first, firstDay);
            QCOMPARE(RideTotals::periodOf(period, last), name);
            QVERIFY(RideTotals::periodOf(period, last.addDays(1)) != name);
        }
    }
};

QTEST_GUILESS_MAIN(tst_BikeRegister)
#include "tst_bikeregister.moc"
