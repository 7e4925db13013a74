// SPDX-License-Identifier: GPL-3.0-or-later
#include "logbook/RideQuery.h"

#include "logbook/Logbook.h"
#include "logbook/RideRecorder.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QVariant>

namespace {


QString columns()
{
    QStringList names{QStringLiteral("id"), QStringLiteral("device"), QStringLiteral("day"), QStringLiteral("bike"),
                      QStringLiteral("model"), QStringLiteral("start")};
    for (int i = 0; i < RideValueCount; ++i)
        names << QLatin1String(RideEntry::columnName(RideValue(i)));
    names << QStringLiteral("has_altitude") << QStringLiteral("unit_system") << QStringLiteral("odometer")
          << QStringLiteral("source") << QStringLiteral("edited") << QStringLiteral("note")
          << QStringLiteral("recorded_at") << QStringLiteral("changed_at");
    return names.join(QStringLiteral(", "));
}

QDateTime utc(const QVariant &text)
{
    QDateTime time = QDateTime::fromString(text.toString(), Qt::ISODate);
    time.setTimeSpec(Qt::UTC);
    return time;
}

} // namespace

QString RideQuery::select(const RideFilter &filter)
{
    QStringList conditions;
    if (filter.bike)
        conditions << QStringLiteral("bike = :bike");
    if (filter.from.isValid())
        conditions << QStringLiteral("day >= :from");
    if (filter.to.isValid())
        conditions << QStringLiteral("day <= :to");
    if (!filter.noteContains.isEmpty())
        conditions << QStringLiteral("contains_text(note, :note)");
    const QString where = conditions.isEmpty() ? QString() : QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    const QString sql = QStringLiteral("SELECT %1 FROM rides%2").arg(columns(), where);
    if (filter.newest <= 0)
        return sql;
    return QStringLiteral("SELECT * FROM (%1 ORDER BY day DESC, id DESC LIMIT %2)").arg(sql).arg(filter.newest);
}

void RideQuery::bind(QSqlQuery &query, const RideFilter &filter)
{
    if (filter.bike)
        query.bindValue(QStringLiteral(":bike"), *filter.bike);
    if (filter.from.isValid())
        query.bindValue(QStringLiteral(":from"), RideRecorder::dayText(filter.from));
    if (filter.to.isValid())
        query.bindValue(QStringLiteral(":to"), RideRecorder::dayText(filter.to));
    if (!filter.noteContains.isEmpty())
        query.bindValue(QStringLiteral(":note"), filter.noteContains);
}

QString RideQuery::orderBy(const RideOrder &order)
{
    const QString direction = order.direction == Qt::AscendingOrder ? QStringLiteral(" ASC") : QStringLiteral(" DESC");
    QString key;
    switch (order.key) {
    case RideOrder::Key::Day:
        break;
    case RideOrder::Key::Start:
        key = QStringLiteral("start");
        break;
    case RideOrder::Key::Model:
        key = QStringLiteral("model COLLATE NOCASE");
        break;
    case RideOrder::Key::Bike:
        key = QStringLiteral("bike");
        break;
    case RideOrder::Key::Value:
        key = QLatin1String(RideEntry::columnName(order.value));
        break;
    case RideOrder::Key::Note:
        key = QStringLiteral("note COLLATE NOCASE");
        break;
    }
    // Rides equal in the key keep the order of their days, and of their recording within a day.
    const QString byDay = QStringLiteral("day") + direction + QStringLiteral(", id") + direction;
    return QStringLiteral(" ORDER BY ") + (key.isEmpty() ? byDay : key + direction + QStringLiteral(", ") + byDay);
}

void RideQuery::prepare(QSqlQuery &query, const RideFilter &filter)
{
    query.prepare(select(filter) + orderBy(filter.order));
    bind(query, filter);
}

RideEntry RideQuery::entry(const QSqlRecord &row)
{
    RideEntry entry;
    int column = 0;
    const auto next = [&] { return row.value(column++); };
    entry.id = next().toLongLong();
    entry.device = next().toString();
    entry.date = QDate::fromString(next().toString(), Qt::ISODate);
    entry.bike = next().toInt();
    entry.model = next().toString();
    const QVariant start = next();
    if (!start.isNull())
        entry.start = QDateTime::fromString(start.toString(), Qt::ISODate);
    for (qint64 &value : entry.values)
        value = next().toLongLong();
    entry.hasAltitude = next().toBool();
    entry.unitSystem = next().toInt();
    const QVariant odometer = next();
    if (!odometer.isNull())
        entry.odometer = odometer.toULongLong();
    entry.source = next().toString() == QLatin1String("csv") ? RideEntry::Source::Csv : RideEntry::Source::Device;
    entry.edited = next().toBool();
    entry.note = next().toString();
    entry.recordedAt = utc(next());
    entry.changedAt = utc(next());
    return entry;
}

std::optional<LogbookError> RideQuery::rides(Logbook &logbook, const RideFilter &filter, QList<RideEntry> &rides)
{
    QSqlQuery query(logbook.database());
    query.setForwardOnly(true);
    prepare(query, filter);
    if (!query.exec())
        return logbook.error(query.lastError());
    while (query.next())
        rides.append(entry(query.record()));
    return std::nullopt;
}

std::optional<LogbookError> RideQuery::ride(Logbook &logbook, qint64 id, RideEntry &ride)
{
    QSqlQuery query(logbook.database());
    query.prepare(QStringLiteral("SELECT %1 FROM rides WHERE id = ?").arg(columns()));
    query.addBindValue(id);
    if (!query.exec())
        return logbook.error(query.lastError());
    if (!query.next())
        return LogbookError(LogbookError::Kind::NoSuchRide, logbook.path(), QString::number(id));
    ride = entry(query.record());
    return std::nullopt;
}

std::optional<LogbookError> RideQuery::sum(Logbook &logbook, const RideFilter &filter, RideSum &sum)
{
    QSqlQuery query(logbook.database());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT count(*), coalesce(sum(%1), 0), coalesce(sum(%2), 0), coalesce(sum(%3), 0), "
                                 "coalesce(sum(%4), 0) FROM (%5)")
                      .arg(QLatin1String(RideEntry::columnName(RideValue::Distance)),
                           QLatin1String(RideEntry::columnName(RideValue::RideTime)),
                           QLatin1String(RideEntry::columnName(RideValue::Ascent)),
                           QLatin1String(RideEntry::columnName(RideValue::Kcal)), select(filter)));
    bind(query, filter);
    if (!query.exec() || !query.next())
        return logbook.error(query.lastError());
    sum.rides = query.value(0).toLongLong();
    sum.distance = query.value(1).toLongLong();
    sum.rideTime = query.value(2).toLongLong();
    sum.ascent = query.value(3).toLongLong();
    sum.kcal = query.value(4).toLongLong();
    return std::nullopt;
}

std::optional<LogbookError> RideQuery::hasRides(Logbook &logbook, bool &any)
{
    QSqlQuery query(logbook.database());
    query.setForwardOnly(true);
    if (!query.exec(QStringLiteral("SELECT EXISTS (SELECT 1 FROM rides)")) || !query.next())
        return logbook.error(query.lastError());
    any = query.value(0).toBool();
    return std::nullopt;
}
