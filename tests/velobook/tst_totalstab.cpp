// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChartReader.h"
#include "IsolatedSettings.h"
#include "LogbookFiller.h"
#include "support/Screenshot.h"

#include "velobook/TotalsTab.h"
#include "velobook/UnitChoice.h"

#include <QComboBox>
#include <QLabel>
#include <QTest>

namespace {

/// Rides every third day over more than two years, of changing length, on alternating bikes.
QList<RideEntry> rides(const QDate &last, int count)
{
    QList<RideEntry> entries;
    for (int i = 0; i < count; ++i) {
        entries << LogbookFiller::ride(last.addDays(-3 * i), 1 + i % 3 % 2, 10 + i % 17, 1800 + 60 * (i % 30));
        entries.last().setValue(RideValue::Ascent, 80 + 40 * (i % 7));
        entries.last().setValue(RideValue::Kcal, 250 + 25 * (i % 17));
    }
    return entries;
}

/// The first days of the periods the chart should show, and the day after the last of them.
QList<QDate> periodStarts(int kind, const QDate &first, const QDate &last)
{
    QList<QDate> starts;
    if (kind == 0) {
        const QDate monday = last.addDays(1 - last.dayOfWeek());
        for (int i = -TotalsTab::RecentPeriods + 1; i <= 1; ++i)
            starts << monday.addDays(7 * i);
    } else if (kind == 1) {
        for (int i = -TotalsTab::RecentPeriods + 1; i <= 1; ++i)
            starts << QDate(last.year(), last.month(), 1).addMonths(i);
    } else {
        for (int year = first.year(); year <= last.year() + 1; ++year)
            starts << QDate(year, 1, 1);
    }
    return starts;
}

QLabel *figure(QWidget *tab, const QString &name)
{
    for (QLabel *label : tab->findChildren<QLabel *>())
        if (label->accessibleName() == name)
            return label;
    return nullptr;
}

} // namespace

class tst_TotalsTab : public QObject
{
    Q_OBJECT

private:
    IsolatedSettings settings;

private slots:
    void initTestCase()
    {
        QVERIFY(settings.isIsolated());
    }

    void cleanup() { UnitChoice::setMiles(false); }

    void chartShowsTheSumsOfEachPeriod_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("bike");
        QTest::addColumn<bool>("miles");
        QTest::newRow("weeks of both bikes") << 0 << 0 << false;
        QTest::newRow("months of bike 1") << 1 << 1 << false;
        QTest::newRow("months of both bikes in miles") << 1 << 0 << true;
        QTest::newRow("years of bike 2 in miles") << 2 << 2 << true;
    }

    void chartShowsTheSumsOfEachPeriod()
    {
        QFETCH(int, kind);
        QFETCH(int, bike);
        QFETCH(bool, miles);
        LogbookFiller filler;
        QVERIFY(filler.isOpen());
        const QList<RideEntry> added = rides(QDate(2026, 3, 14), 300);
        QVERIFY(filler.add(added));
        UnitChoice::setMiles(miles);
        TotalsTab tab(filler.logbook());
        tab.reload();
        tab.findChild<QComboBox *>(QStringLiteral("periodKind"))->setCurrentIndex(kind);
        tab.findChild<QComboBox *>(QStringLiteral("bike"))->setCurrentIndex(bike);

        QList<RideEntry> ofBike;
        for (const RideEntry &ride : added)
            if (bike == 0 || ride.bike == bike)
                ofBike.prepend(ride);
        const QList<QDate> starts = periodStarts(kind, ofBike.first().date, ofBike.last().date);
        QList<qint64> distance(starts.size() - 1);
        QList<qint64> rideTime(starts.size() - 1);
        QList<int> count(starts.size() - 1);
        for (const RideEntry &ride : std::as_const(ofBike))
            for (qsizetype i = 0; i + 1 < starts.size(); ++i)
                if (ride.date >= starts[i] && ride.date < starts[i + 1]) {
                    distance[i] += ride.value(RideValue::Distance);
                    rideTime[i] += ride.value(RideValue::RideTime);
                    ++count[i];
                }

        QBarSet *distances = ChartReader::barSet(&tab, QStringLiteral("distanceChart"));
        QBarSet *hours = ChartReader::barSet(&tab, QStringLiteral("rideTimeChart"));
        QVERIFY(distances && hours);
        QCOMPARE(distances->count(), distance.size());
        QCOMPARE(hours->count(), rideTime.size());
        const DisplayUnits units = DisplayUnits::forSystem(miles ? 1 : 0);
        for (qsizetype i = 0; i < distance.size(); ++i) {
            QCOMPARE(distances->at(i), units.distance(quint64(distance[i])));
            QCOMPARE(hours->at(i), rideTime[i] / 3600.0);
        }

        // Choosing a bar shows that period's figures.
        const int chosen = int(distance.size()) - 2;
        emit distances->clicked(chosen);
        QCOMPARE(tab.findChild<QComboBox *>(QStringLiteral("period"))->currentIndex(), chosen);
        QCOMPARE(figure(&tab, QStringLiteral("Rides"))->text(), QString::number(count[chosen]));
        QVERIFY(figure(&tab, QStringLiteral("Distance"))->text().endsWith(units.distanceUnit()));
    }

    void emptyLogbookShowsNoPeriod()
    {
        LogbookFiller filler;
        QVERIFY(filler.isOpen());
        TotalsTab tab(filler.logbook());
        tab.reload();
        QCOMPARE(ChartReader::barSet(&tab, QStringLiteral("distanceChart"))->count(), 0);
        QCOMPARE(tab.findChild<QComboBox *>(QStringLiteral("period"))->count(), 0);
        QCOMPARE(figure(&tab, QStringLiteral("Rides"))->text(), QStringLiteral("–"));
    }

    void screenshotOfTwoYears()
    {
        LogbookFiller filler;
        QVERIFY(filler.isOpen());
        QVERIFY(filler.add(rides(QDate::currentDate(), 245)));
        TotalsTab tab(filler.logbook());
        tab.reload();
        QVERIFY(ChartReader::barSet(&tab, QStringLiteral("distanceChart")));
        tab.resize(900, 600);
        tab.show();
        saveScreenshot(tab, QStringLiteral("logbook-totals"));
    }
};

QTEST_MAIN(tst_TotalsTab)
#include "tst_totalstab.moc"
