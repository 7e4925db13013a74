// SPDX-License-Identifier: GPL-3.0-or-later
#include "logbook/BikeRegister.h"

#include "logbook/Logbook.h"
#include "logbook/RideRecorder.h"

#include <QSqlQuery>
#include <QVariant>

namespace {

// Imported rides keep NULL as their device; the register keeps their bikes under the empty one.
const QString RideDevice = QStringLiteral("coalesce(rides.device, '')");

QVariant dayValue(const QDate &day)
{
    return day.isValid() ? QVariant(RideRecorder::dayText(day)) : QVariant();
}

} // namespace

std::optional<LogbookError> BikeRegister::bikes(QList<BikeRecord> &bikes) const
{
    QSqlQuery query(m_logbook.database());
    query.setForwardOnly(true);
    // One pass over the rides, each looked up in the register for its service day.
    const bool done = query.exec(
        QStringLiteral("WITH ridden AS (SELECT %1 AS device, rides.bike AS bike, max(model) AS model, count(*) AS rides, "
                       "sum(CASE WHEN bikes.service_day IS NULL OR day >= bikes.service_day THEN distance ELSE 0 END) "
                       "AS since FROM rides LEFT JOIN bikes ON bikes.device = %1 AND bikes.bike = rides.bike "
                       "GROUP BY 1, 2), "
                       "known AS (SELECT device, bike FROM ridden UNION SELECT device, bike FROM bikes) "
                       "SELECT known.device, known.bike, coalesce(bikes.name, ''), bikes.service_day, ridden.model, "
                       "coalesce(ridden.rides, 0), coalesce(ridden.since, 0) FROM known "
                       "LEFT JOIN ridden ON ridden.device = known.device AND ridden.bike = known.bike "
                       "LEFT JOIN bikes ON bikes.device = known.device AND bikes.bike = known.bike "
                       "ORDER BY known.device = '', known.device, known.bike")
            .arg(RideDevice));
    if (!done)
        return m_logbook.error(query.lastError());
    while (query.next()) {
        BikeRecord record;
        record.device = query.value(0).toString();
        record.bike = query.value(1).toInt();
        record.name = query.value(2).toString();
        record.serviceDay = QDate::fromString(query.value(3).toString(), Qt::ISODate);
        record.model = query.value(4).toString();
        record.rides = query.value(5).toLongLong();
        record.distanceSince = query.value(6).toLongLong();
        bikes.append(record);
    }
    return std::nullopt;
}

std::optional<LogbookError> BikeRegister::names(QHash<Key, QString> &names) const
{
    QSqlQuery query(m_logbook.database());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT device, bike, name FROM bikes WHERE name <> ''")))
        return m_logbook.error(query.lastError());
    while (query.next())
        names.insert({query.value(0).toString(), query.value(1).toInt()}, query.value(2).toString());
    return std::nullopt;
}

std::optional<LogbookError> BikeRegister::rename(const QString &device, int bike, const QString &name)
{
    return store(device, bike, QStringLiteral("name"), RideRecorder::notNull(name.trimmed()));
}

std::optional<LogbookError> BikeRegister::setServiceDay(const QString &device, int bike, const QDate &day)
{
    return store(device, bike, QStringLiteral("service_day"), dayValue(day));
}

std::optional<LogbookError> BikeRegister::store(const QString &device, int bike, const QString &column, const QVariant &value)
{
    return m_logbook.change([&](QSqlDatabase &db) -> std::optional<LogbookError> {
        QSqlQuery query(db);
        query.prepare(QStringLiteral("INSERT INTO bikes (device, bike, %1) VALUES (?, ?, ?) "
                                     "ON CONFLICT (device, bike) DO UPDATE SET %1 = excluded.%1")
                          .arg(column));
        query.addBindValue(RideRecorder::notNull(device));
        query.addBindValue(bike);
        query.addBindValue(value);
        if (!query.exec())
            return m_logbook.error(query.lastError());
        return std::nullopt;
    });
}

std::optional<LogbookError> BikeRegister::odometer(const QString &device, int bike, QList<OdometerRead> &reads) const
{
    QSqlQuery query(m_logbook.database());
    query.setForwardOnly(true);
    // Imported logs may hold several rides of a day; the day's highest read is its last.
    query.prepare(QStringLiteral("SELECT day, max(odometer) FROM rides WHERE %1 = ? AND bike = ? AND odometer IS NOT NULL "
                                 "GROUP BY day ORDER BY day")
                      .arg(RideDevice));
    query.addBindValue(RideRecorder::notNull(device));
    query.addBindValue(bike);
    if (!query.exec())
        return m_logbook.error(query.lastError());
    while (query.next())
        reads.append({QDate::fromString(query.value(0).toString(), Qt::ISODate), quint64(query.value(1).toLongLong())});
    return std::nullopt;
}
