// SPDX-License-Identifier: GPL-3.0-or-later
#include "logbook/LogbookSchema.h"

#include "logbook/RideEntry.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariant>

namespace {

QString valueColumns()
{
    QStringList columns;
    for (int i = 0; i < RideValueCount; ++i)
        columns << QStringLiteral("%1 INTEGER NOT NULL DEFAULT 0").arg(QLatin1String(RideEntry::columnName(RideValue(i))));
    return columns.join(QStringLiteral(", "));
}

// Each step is written as it was when its version was current, so later changes to the code
// never change what an older file is migrated through.
QStringList createRides()
{
    return {
        QStringLiteral("PRAGMA application_id = %1").arg(LogbookSchema::ApplicationId),
        QStringLiteral("CREATE TABLE rides ("
                       "id INTEGER PRIMARY KEY, "
                       "device TEXT, "
                       "day TEXT NOT NULL, "
                       "bike INTEGER NOT NULL CHECK (bike IN (1, 2)), "
                       "model TEXT, "
                       "start TEXT, "
                       "%1, "
                       "has_altitude INTEGER NOT NULL, "
                       "unit_system INTEGER NOT NULL, "
                       "odometer INTEGER, "
                       "source TEXT NOT NULL CHECK (source IN ('device', 'csv')), "
                       "recorded_at TEXT NOT NULL, "
                       "changed_at TEXT NOT NULL)")
            .arg(valueColumns()),
        // One entry per device, bike and day; imported rides name no device.
        QStringLiteral("CREATE UNIQUE INDEX rides_device_day ON rides (device, bike, day) WHERE device IS NOT NULL"),
        QStringLiteral("CREATE INDEX rides_day ON rides (day, bike)"),
    };
}

QStringList addNoteAndEdited()
{
    return {
        QStringLiteral("ALTER TABLE rides ADD COLUMN note TEXT NOT NULL DEFAULT ''"),
        QStringLiteral("ALTER TABLE rides ADD COLUMN edited INTEGER NOT NULL DEFAULT 0"),
    };
}

// Bikes a rider named or serviced. Rides imported from logs name no device; their bikes are kept
// under the empty device, since a key of the primary key cannot be NULL.
QStringList addBikes()
{
    return {
        QStringLiteral("CREATE TABLE bikes ("
                       "device TEXT NOT NULL, "
                       "bike INTEGER NOT NULL CHECK (bike IN (1, 2)), "
                       "name TEXT NOT NULL DEFAULT '', "
                       "service_day TEXT, "
                       "PRIMARY KEY (device, bike))"),
    };
}

int userVersion(QSqlQuery &query)
{
    return query.exec(QStringLiteral("PRAGMA user_version")) && query.next() ? query.value(0).toInt() : -1;
}

} // namespace

QStringList LogbookSchema::step(int version)
{
    switch (version) {
    case 1:
        return createRides();
    case 2:
        return addNoteAndEdited();
    case 3:
        return addBikes();
    default:
        return {};
    }
}

QSqlError LogbookSchema::migrate(QSqlDatabase &database)
{
    QSqlQuery query(database);
    for (int version = 1; version <= CurrentVersion; ++version) {
        if (!query.exec(QStringLiteral("BEGIN IMMEDIATE")))
            return query.lastError();
        const int before = userVersion(query);
        bool done = before >= 0;
        if (done && before == version - 1) {
            for (const QString &statement : step(version))
                if (!(done = query.exec(statement)))
                    break;
            done = done && query.exec(QStringLiteral("PRAGMA user_version = %1").arg(version));
        }
        if (!done || !query.exec(QStringLiteral("COMMIT"))) {
            const QSqlError error = query.lastError();
            query.exec(QStringLiteral("ROLLBACK"));
            return error;
        }
    }
    return {};
}
