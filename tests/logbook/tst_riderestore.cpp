// SPDX-License-Identifier: GPL-3.0-or-later
// Rides removed and put back: as they were, unless the logbook got a newer one of theirs since.
#include "SameRide.h"
#include "velobook/LogbookFiller.h"

#include "logbook/RideQuery.h"
#include "logbook/RideRecorder.h"

#include <QSqlQuery>
#include <QTest>

#include <algorithm>

namespace {

const QDate Day(2026, 12, 8);

enum class Meanwhile { Nothing, SameDeviceAndDay, SameImport, TakesItsId };

} // namespace

Q_DECLARE_METATYPE(Meanwhile)

class tst_RideRestore : public QObject
{
    Q_OBJECT

private:
    /// A ride of a device with every field set, and an imported one, as the logbook holds them.
    static QList<RideEntry> fill(LogbookFiller &filler)
    {
        RideEntry read = LogbookFiller::ride(Day, 1, 42.2, 5400, QStringLiteral("Col du Galibier"));
        read.start = QDateTime(Day, QTime(9, 30), Qt::OffsetFromUTC, 3600);
        read.edited = true;
        read.odometer = 1234567890;
        RideEntry imported = LogbookFiller::ride(Day.addDays(-1), 2, 12.5);
        imported.device.clear();
        imported.model.clear();
        imported.source = RideEntry::Source::Csv;
        imported.unitSystem = 1;
        QList<RideEntry> rides;
        if (!filler.add({read, imported}))
            return rides;
        // Times of their own, so that keeping both is seen.
        QSqlQuery(filler.logbook().database())
            .exec(QStringLiteral("UPDATE rides SET recorded_at = '2026-01-02T03:04:05Z', changed_at = '2026-02-03T04:05:06Z'"));
        RideQuery::rides(filler.logbook(), {}, rides);
        return rides;
    }

private slots:
    void restoresUnlessRecordedAgain_data()
    {
        QTest::addColumn<Meanwhile>("meanwhile");
        QTest::addColumn<int>("leftOut"); // how many of the two stay out
        QTest::newRow("nothing") << Meanwhile::Nothing << 0;
        QTest::newRow("the device's ride read again") << Meanwhile::SameDeviceAndDay << 1;
        QTest::newRow("the log imported again") << Meanwhile::SameImport << 1;
        QTest::newRow("another ride took an id") << Meanwhile::TakesItsId << 0;
    }

    void restoresUnlessRecordedAgain()
    {
        QFETCH(Meanwhile, meanwhile);
        QFETCH(int, leftOut);
        LogbookFiller filler;
        QVERIFY(filler.isOpen());
        const QList<RideEntry> before = fill(filler);
        QCOMPARE(before.size(), 2);
        RideRecorder recorder(filler.logbook());
        QVERIFY(!recorder.remove({before[0].id, before[1].id}));

        RideEntry newer;
        const RideEntry &imported = before[0].source == RideEntry::Source::Csv ? before[0] : before[1];
        switch (meanwhile) {
        case Meanwhile::Nothing:
            break;
        case Meanwhile::SameDeviceAndDay:
            newer = LogbookFiller::ride(Day, 1, 50.0);
            break;
        case Meanwhile::SameImport:
            newer = imported;
            newer.note = QStringLiteral("imported again");
            break;
        case Meanwhile::TakesItsId:
            newer = LogbookFiller::ride(Day.addDays(1), 1, 7.0);
            break;
        }
        QList<RideEntry> recorded;
        if (meanwhile != Meanwhile::Nothing) {
            QVERIFY(filler.add({newer}));
            QVERIFY(!RideQuery::rides(filler.logbook(), {}, recorded));
            newer.id = recorded.value(0).id; // an id of the removed ones: SQLite hands out the lowest free
        }

        QList<RideEntry> back = before;
        QList<RideEntry> notBack;
        QVERIFY(!recorder.restore(back, notBack));
        QCOMPARE(notBack.size(), leftOut);
        QList<RideEntry> after;
        QVERIFY(!RideQuery::rides(filler.logbook(), {}, after));
        QCOMPARE(back.size(), before.size() - leftOut);
        QCOMPARE(after.size(), back.size() + recorded.size());
        for (const RideEntry &ride : back) {
            const auto was = std::find_if(before.cbegin(), before.cend(),
                                          [&](const RideEntry &removed) { return removed.date == ride.date; });
            QVERIFY(was != before.cend());
            RideEntry kept;
            QVERIFY(!RideQuery::ride(filler.logbook(), ride.id, kept));
            compareRides(kept, *was);
            if (QTest::currentTestFailed())
                return;
            QCOMPARE(ride.id == was->id, was->id != newer.id);
        }
        // The newer ride is the one the logbook keeps.
        for (const RideEntry &ride : after) {
            if (meanwhile != Meanwhile::Nothing && ride.id == newer.id) {
                QCOMPARE(ride.note, newer.note);
                QCOMPARE(ride.value(RideValue::Distance), newer.value(RideValue::Distance));
            }
        }
    }

    void removesAllOrNone()
    {
        LogbookFiller filler;
        QVERIFY(filler.isOpen());
        const QList<RideEntry> rides = fill(filler);
        QCOMPARE(rides.size(), 2);
        const std::optional<LogbookError> failure = RideRecorder(filler.logbook()).remove({rides[0].id, rides[1].id + 100});
        QVERIFY(failure);
        QCOMPARE(failure->kind(), LogbookError::Kind::NoSuchRide);
        QList<RideEntry> still;
        QVERIFY(!RideQuery::rides(filler.logbook(), {}, still));
        QCOMPARE(still.size(), 2);
    }
};

QTEST_GUILESS_MAIN(tst_RideRestore)
#include "tst_riderestore.moc"
