// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChartReader.h"
#include "IsolatedSettings.h"
#include "LogbookFiller.h"
#include "support/Screenshot.h"

#include "velobook/BikesTab.h"
#include "velobook/UnitChoice.h"

#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSignalSpy>
#include <QTest>

namespace {

constexpr quint64 Kilometre = 1000000;

/// A ride of `kilometres` a day for `days` days up to `last`, the odometer read on all but every fifth.
QList<RideEntry> ridesWithOdometer(const QDate &last, int bike, int days, quint64 startKilometres)
{
    QList<RideEntry> rides;
    for (int i = 0; i < days; ++i) {
        rides << LogbookFiller::ride(last.addDays(i - days + 1), bike, 20 + i % 5);
        if (i % 5 != 4)
            rides.last().odometer = (startKilometres + 25 * i) * Kilometre;
    }
    return rides;
}

} // namespace

class tst_BikesTab : public QObject
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

    void odometerSeriesOfEachBike_data()
    {
        QTest::addColumn<int>("row");
        QTest::addColumn<bool>("miles");
        QTest::newRow("bike 1 in kilometres") << 0 << false;
        QTest::newRow("bike 2 in miles") << 1 << true;
    }

    void odometerSeriesOfEachBike()
    {
        QFETCH(int, row);
        QFETCH(bool, miles);
        LogbookFiller filler;
        QVERIFY(filler.isOpen());
        const QList<RideEntry> bikes[] = {ridesWithOdometer(QDate(2026, 6, 30), 1, 40, 1200),
                                          ridesWithOdometer(QDate(2026, 6, 20), 2, 12, 300)};
        QVERIFY(filler.add(bikes[0] + bikes[1]));
        UnitChoice::setMiles(miles);
        BikesTab tab(filler.logbook());
        tab.reload();
        auto *list = tab.findChild<QListWidget *>(QStringLiteral("bikes"));
        QCOMPARE(list->count(), 2);
        list->setCurrentRow(row);

        QList<QPointF> expected;
        const DisplayUnits units = DisplayUnits::forSystem(miles ? 1 : 0);
        for (const RideEntry &ride : bikes[row])
            if (ride.odometer)
                expected << QPointF(qreal(ride.date.startOfDay().toMSecsSinceEpoch()), units.distance(*ride.odometer));
        QLineSeries *series = ChartReader::series<QLineSeries>(&tab, QStringLiteral("odometerChart"));
        QVERIFY(series);
        QCOMPARE(series->points(), expected);
    }

    void renamedBikeAndServiceDayAreKept()
    {
        LogbookFiller filler;
        QVERIFY(filler.isOpen());
        RideEntry imported = LogbookFiller::ride(QDate(2026, 4, 1), 1, 64);
        imported.device.clear();
        imported.source = RideEntry::Source::Csv;
        QVERIFY(filler.add(ridesWithOdometer(QDate(2026, 6, 30), 1, 10, 1200) << imported));
        {
            BikesTab tab(filler.logbook());
            tab.reload();
            QSignalSpy changes(&tab, &BikesTab::bikesChanged);
            auto *list = tab.findChild<QListWidget *>(QStringLiteral("bikes"));
            QCOMPARE(list->item(1)->text(), QStringLiteral("Imported logs, bike 1"));
            list->setCurrentRow(0);
            auto *name = tab.findChild<QLineEdit *>(QStringLiteral("bikeName"));
            name->setText(QStringLiteral("Road bike"));
            emit name->editingFinished();
            // 21 to 30 June: rides of 20 to 24 km and again, the last four from the 27th on.
            tab.findChild<QDateEdit *>(QStringLiteral("serviceDay"))->setDate(QDate(2026, 6, 27));
            QCOMPARE(tab.findChild<QLabel *>(QStringLiteral("distanceSince"))->text(), QStringLiteral("90.0 km"));
            QCOMPARE(changes.count(), 2);
        }
        BikesTab tab(filler.logbook());
        tab.reload();
        QCOMPARE(tab.findChild<QListWidget *>(QStringLiteral("bikes"))->item(0)->text(),
                 QStringLiteral("Road bike (Lumo 60, bike 1)"));
        QCOMPARE(tab.findChild<QDateEdit *>(QStringLiteral("serviceDay"))->date(), QDate(2026, 6, 27));
        QHash<BikeRegister::Key, QString> names;
        QVERIFY(!BikeRegister(filler.logbook()).names(names));
        QCOMPARE(names.value({QStringLiteral("Lumo 60"), 1}), QStringLiteral("Road bike"));
    }

    void emptyLogbookHasNoBikeToChange()
    {
        LogbookFiller filler;
        QVERIFY(filler.isOpen());
        BikesTab tab(filler.logbook());
        tab.reload();
        QCOMPARE(tab.findChild<QListWidget *>(QStringLiteral("bikes"))->count(), 0);
        QVERIFY(!tab.findChild<QLineEdit *>(QStringLiteral("bikeName"))->isEnabled());
        QCOMPARE(ChartReader::series<QLineSeries>(&tab, QStringLiteral("odometerChart"))->count(), 0);
    }

    void screenshotOfAYear()
    {
        LogbookFiller filler;
        QVERIFY(filler.isOpen());
        QVERIFY(filler.add(ridesWithOdometer(QDate::currentDate(), 1, 365, 4200)
                           + ridesWithOdometer(QDate::currentDate(), 2, 120, 800)));
        BikeRegister bikes(filler.logbook());
        QVERIFY(!bikes.rename(QStringLiteral("Lumo 60"), 1, QStringLiteral("Road bike")));
        QVERIFY(!bikes.setServiceDay(QStringLiteral("Lumo 60"), 1, QDate::currentDate().addDays(-60)));
        BikesTab tab(filler.logbook());
        tab.reload();
        QVERIFY(ChartReader::series<QLineSeries>(&tab, QStringLiteral("odometerChart")));
        tab.resize(900, 600);
        tab.show();
        saveScreenshot(tab, QStringLiteral("logbook-bikes"));
    }
};

QTEST_MAIN(tst_BikesTab)
#include "tst_bikestab.moc"
