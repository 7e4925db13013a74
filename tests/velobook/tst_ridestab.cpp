// SPDX-License-Identifier: GPL-3.0-or-later
#include "LogbookFiller.h"
#include "IsolatedSettings.h"

#include "velobook/RidesTab.h"
#include "velobook/UnitChoice.h"

#include "logbook/BikeRegister.h"
#include "logbook/RideListModel.h"

#include <QComboBox>
#include <QDateEdit>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QSqlDatabase>
#include <QTableView>
#include <QTest>

#include <memory>

namespace {

using Period = RidesTab::Period;

RideListModel *modelOf(const RidesTab &tab)
{
    return qobject_cast<RideListModel *>(tab.view()->model());
}

int allRows(RideListModel *model)
{
    while (model->canFetchMore(QModelIndex()))
        model->fetchMore(QModelIndex());
    return model->rowCount();
}

// Rides about the first days of this week, month and year and the last days before them, each
// of a device of its own so that days may fall together.
QList<RideEntry> ridesAroundToday()
{
    const QDate today = QDate::currentDate();
    const QDate week = today.addDays(1 - today.dayOfWeek());
    const QDate month(today.year(), today.month(), 1);
    const QDate year(today.year(), 1, 1);
    const std::tuple<QDate, int, double, const char *> placed[] = {
        {today, 1, 21.5, "Rain in the hills"}, {week, 2, 33.0, "50% gravel"},
        {week.addDays(-1), 1, 44.0, "500 m of climbing"}, {month, 2, 12.25, "a_b loop"},
        {month.addDays(-1), 1, 61.0, "aXb loop"}, {year, 1, 80.0, ""},
        {year.addDays(-1), 2, 15.0, "rain"}, {today.addYears(-2), 2, 100.0, "Über den Pass"},
    };
    QList<RideEntry> rides;
    for (const auto &[day, bike, kilometres, note] : placed) {
        const int i = int(rides.size());
        RideEntry ride = LogbookFiller::ride(day, bike, kilometres, 3600 + 60 * i, QString::fromUtf8(note));
        ride.device = QStringLiteral("Lumo 60 #%1").arg(i);
        ride.setValue(RideValue::Ascent, 100 * i);
        ride.setValue(RideValue::Kcal, 300 + i);
        rides << ride;
    }
    return rides;
}

} // namespace

class tst_RidesTab : public QObject
{
    Q_OBJECT

private:
    IsolatedSettings settings;
    std::unique_ptr<LogbookFiller> filler;

private slots:
    void initTestCase()
    {
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        QVERIFY(settings.isIsolated());
    }

    void init()
    {
        UnitChoice::setMiles(false);
        filler = std::make_unique<LogbookFiller>();
        QVERIFY(filler->isOpen());
    }

    void cleanup() { filler.reset(); }

    void showsRidesInTheUnitsChosen_data()
    {
        QTest::addColumn<bool>("miles");
        QTest::addColumn<QStringList>("headers");
        QTest::addColumn<QStringList>("texts");
        QTest::newRow("kilometres")
            << false << QStringList{"Distance (km)", "Avg. speed (km/h)", "Max. speed (km/h)", "Ascent (m)"}
            << QStringList{"07:15", "Lumo 60", "Bike 2", "42.20", "1:30:00", "28.1", "51.2", "830", "142", "1,234", "Headwind"};
        QTest::newRow("miles")
            << true << QStringList{"Distance (mi)", "Avg. speed (mph)", "Max. speed (mph)", "Ascent (ft)"}
            << QStringList{"07:15", "Lumo 60", "Bike 2", "26.22", "1:30:00", "17.5", "31.8", "2,723", "142", "1,234", "Headwind"};
    }

    void showsRidesInTheUnitsChosen()
    {
        QFETCH(bool, miles);
        QFETCH(QStringList, headers);
        QFETCH(QStringList, texts);
        RideEntry ride = LogbookFiller::ride(QDate(2026, 5, 3), 2, 42.195, 5400, QStringLiteral("Headwind"));
        ride.start = QDateTime(ride.date, QTime(7, 15), Qt::OffsetFromUTC, 7200);
        ride.setValue(RideValue::MaxSpeed, 512);
        ride.setValue(RideValue::Ascent, 830);
        ride.setValue(RideValue::AvgHeartRate, 142);
        ride.setValue(RideValue::Kcal, 1234);
        QVERIFY(filler->add({LogbookFiller::ride(QDate(2026, 5, 1), 1, 10.0), ride}));
        UnitChoice::setMiles(miles);

        RidesTab tab(filler->logbook());
        tab.reload();
        RideListModel *model = modelOf(tab);
        QCOMPARE(model->rowCount(), 2);
        QCOMPARE(model->index(0, RideListModel::DateColumn).data().toDate(), ride.date);
        QStringList shown;
        for (int column = RideListModel::StartColumn; column < RideListModel::ColumnCount; ++column)
            shown << model->index(0, column).data().toString();
        QCOMPARE(shown, texts);
        const int unitColumns[] = {RideListModel::DistanceColumn, RideListModel::AvgSpeedColumn,
                                   RideListModel::MaxSpeedColumn, RideListModel::AscentColumn};
        QStringList shownHeaders;
        for (int column : unitColumns)
            shownHeaders << model->headerData(column, Qt::Horizontal).toString();
        QCOMPARE(shownHeaders, headers);

        // A bike given a name is shown by it.
        QVERIFY(!BikeRegister(filler->logbook()).rename(QStringLiteral("Lumo 60"), 1, QStringLiteral("Road bike")));
        tab.reload();
        QCOMPARE(model->index(1, RideListModel::BikeColumn).data().toString(), QStringLiteral("Road bike"));
        QCOMPARE(model->index(0, RideListModel::BikeColumn).data().toString(), QStringLiteral("Bike 2"));
    }

    void filtersAndTheirTotals_data()
    {
        QTest::addColumn<int>("bike");
        QTest::addColumn<Period>("period");
        QTest::addColumn<QDate>("from");
        QTest::addColumn<QDate>("to");
        QTest::addColumn<QString>("search");
        const QDate today = QDate::currentDate();
        const QDate week = today.addDays(1 - today.dayOfWeek());
        const QDate month(today.year(), today.month(), 1);
        const QDate year(today.year(), 1, 1);
        QTest::newRow("all") << 0 << Period::All << QDate() << QDate() << QString();
        QTest::newRow("bike 1") << 1 << Period::All << QDate() << QDate() << QString();
        QTest::newRow("bike 2") << 2 << Period::All << QDate() << QDate() << QString();
        QTest::newRow("this week") << 0 << Period::ThisWeek << week << week.addDays(6) << QString();
        QTest::newRow("this month") << 0 << Period::ThisMonth << month << month.addMonths(1).addDays(-1) << QString();
        QTest::newRow("this year, bike 2") << 2 << Period::ThisYear << year << QDate(today.year(), 12, 31) << QString();
        QTest::newRow("from-to") << 0 << Period::FromTo << year.addDays(-1) << month << QString();
        QTest::newRow("note with %") << 0 << Period::All << QDate() << QDate() << QStringLiteral("50%");
        QTest::newRow("note with _") << 0 << Period::All << QDate() << QDate() << QStringLiteral("a_b");
        QTest::newRow("note in another case") << 0 << Period::All << QDate() << QDate() << QStringLiteral("RAIN");
        QTest::newRow("note nowhere") << 0 << Period::All << QDate() << QDate() << QStringLiteral("snow");
        QTest::newRow("note with a letter in another case") << 0 << Period::All << QDate() << QDate()
                                                            << QStringLiteral("über");
    }

    void filtersAndTheirTotals()
    {
        QFETCH(int, bike);
        QFETCH(Period, period);
        QFETCH(QDate, from);
        QFETCH(QDate, to);
        QFETCH(QString, search);
        const QList<RideEntry> rides = ridesAroundToday();
        QVERIFY(filler->add(rides));
        RideSum expected;
        for (const RideEntry &ride : rides) {
            if ((bike == 0 || ride.bike == bike) && (!from.isValid() || ride.date >= from)
                && (!to.isValid() || ride.date <= to) && ride.note.contains(search, Qt::CaseInsensitive)) {
                expected.rides += 1;
                expected.distance += ride.value(RideValue::Distance);
                expected.rideTime += ride.value(RideValue::RideTime);
                expected.ascent += ride.value(RideValue::Ascent);
                expected.kcal += ride.value(RideValue::Kcal);
            }
        }

        RidesTab tab(filler->logbook());
        tab.reload();
        auto *bikes = tab.findChild<QComboBox *>(QStringLiteral("bikeBox"));
        bikes->setCurrentIndex(bikes->findData(bike));
        auto *periods = tab.findChild<QComboBox *>(QStringLiteral("periodBox"));
        periods->setCurrentIndex(periods->findData(int(period)));
        auto *fromEdit = tab.findChild<QDateEdit *>(QStringLiteral("fromEdit"));
        QCOMPARE(fromEdit->isVisibleTo(&tab), period == Period::FromTo);
        if (period == Period::FromTo) {
            fromEdit->setDate(from);
            tab.findChild<QDateEdit *>(QStringLiteral("toEdit"))->setDate(to);
        }
        tab.findChild<QLineEdit *>(QStringLiteral("searchEdit"))->setText(search);

        QCOMPARE(allRows(modelOf(tab)), int(expected.rides));
        QTRY_VERIFY(tab.sumIsCurrent());
        QCOMPARE(tab.sum().rides, expected.rides);
        QCOMPARE(tab.sum().distance, expected.distance);
        QCOMPARE(tab.sum().rideTime, expected.rideTime);
        QCOMPARE(tab.sum().ascent, expected.ascent);
        QCOMPARE(tab.sum().kcal, expected.kcal);
        const QString totals = tab.findChild<QLabel *>(QStringLiteral("lblTotals"))->text();
        QVERIFY2(totals.contains(RideListModel::distanceText(expected.distance, UnitChoice::current()) + QStringLiteral(" km")),
                 qPrintable(totals));
    }

    void sortsByTheClickedColumn_data()
    {
        QTest::addColumn<int>("column");
        QTest::addColumn<int>("clicks");
        QTest::newRow("newest first, unclicked") << int(RideListModel::DateColumn) << 0;
        QTest::newRow("date, clicked: oldest first") << int(RideListModel::DateColumn) << 1;
        QTest::newRow("distance, shortest first") << int(RideListModel::DistanceColumn) << 1;
        QTest::newRow("distance, longest first") << int(RideListModel::DistanceColumn) << 2;
        QTest::newRow("note") << int(RideListModel::NoteColumn) << 1;
    }

    void sortsByTheClickedColumn()
    {
        QFETCH(int, column);
        QFETCH(int, clicks);
        const QList<RideEntry> rides = ridesAroundToday();
        QVERIFY(filler->add(rides));
        RidesTab tab(filler->logbook());
        tab.resize(1600, 400);
        tab.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tab));
        tab.reload();
        QHeaderView *header = tab.view()->horizontalHeader();
        const QPoint onSection(header->sectionViewportPosition(column) + header->sectionSize(column) / 2, header->height() / 2);
        for (int click = 0; click < clicks; ++click)
            QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, onSection);
        // The order outlives reading the logbook again.
        tab.reload();

        // Clicking a column sorts it ascending, and again descending; unclicked, the newest come first.
        const bool descending = clicks != 1;
        const auto key = [column](const RideEntry &ride) -> QVariant {
            if (column == RideListModel::DistanceColumn)
                return ride.value(RideValue::Distance);
            if (column == RideListModel::NoteColumn)
                return ride.note.toLower();
            return ride.date;
        };
        RideListModel *model = modelOf(tab);
        QCOMPARE(allRows(model), rides.size());
        QVariantList shown, sorted;
        for (int row = 0; row < model->rowCount(); ++row)
            shown << key(model->entry(row));
        for (const RideEntry &ride : rides)
            sorted << key(ride);
        std::sort(sorted.begin(), sorted.end(), [descending](const QVariant &a, const QVariant &b) {
            return descending ? QVariant::compare(b, a) < 0 : QVariant::compare(a, b) < 0;
        });
        QCOMPARE(shown, sorted);
    }

    void vanishedLogbookIsNotMadeAgain()
    {
        QVERIFY(filler->add({LogbookFiller::ride(QDate(2026, 6, 1), 1, 20.0)}));
        RidesTab tab(filler->logbook());
        tab.reload();
        QTRY_VERIFY(tab.sumIsCurrent());
        for (const char *suffix : {"", "-wal", "-shm"})
            QFile::remove(filler->path() + QLatin1String(suffix));
        tab.reload();
        QTRY_VERIFY(tab.sumIsCurrent());
        QVERIFY(!QFileInfo::exists(filler->path()));
        QVERIFY(tab.findChild<QLabel *>(QStringLiteral("lblTotals"))->text().contains(filler->path()));

        // A tab opened on it now says so at once.
        RidesTab late(filler->logbook());
        late.reload();
        QVERIFY(late.findChild<QLabel *>(QStringLiteral("lblTotals"))->text().contains(filler->path()));
        QVERIFY(!QFileInfo::exists(filler->path()));
    }

    void longListIsReadAsItIsShown()
    {
        constexpr int Rides = 100000;
        QList<RideEntry> rides;
        rides.reserve(Rides);
        const QDate first(1800, 1, 1);
        for (int i = 0; i < Rides; ++i)
            rides << LogbookFiller::ride(first.addDays(i), 1 + i % 2, 10.0 + i % 50);
        QVERIFY(filler->add(rides));
        RidesTab tab(filler->logbook());
        tab.resize(900, 600);
        tab.show();
        QVERIFY(QTest::qWaitForWindowExposed(&tab));
        tab.reload();
        QTRY_VERIFY(tab.sumIsCurrent());
        QCOMPARE(tab.sum().rides, Rides);
        RideListModel *model = modelOf(tab);
        QCOMPARE(model->entry(0).date, first.addDays(Rides - 1));
        QVERIFY2(model->rowCount() < 1000, qPrintable(QString::number(model->rowCount())));

        // A tab closed while its sums are counted waits for them and their connection: they use
        // the database driver, which goes with the program.
        const QStringList connections = QSqlDatabase::connectionNames();
        auto closed = std::make_unique<RidesTab>(filler->logbook());
        closed->reload();
        closed.reset();
        QCOMPARE(QSqlDatabase::connectionNames(), connections);
    }
};

QTEST_MAIN(tst_RidesTab)
#include "tst_ridestab.moc"
