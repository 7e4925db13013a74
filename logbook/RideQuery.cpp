// SPDX-License-Identifier: GPL-3.0-or-later
#include "logbook/RideQuery.h"

#include "logbook/Logbook.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QVariant>

namespace {

const QString DayFormat = QStringLiteral("yyyy-MM-dd");

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

void RideQuery::prepare(QSqlQuery &query, const RideFilter &filter)
{
    QStringList conditions;
    if (filter.bike)
        conditions << QStringLiteral("bike = :bike");
    if (filter.from.isValid())
        conditions << QStringLiteral("day >= :from");
    if (filter.to.isValid())
        conditions << QStringLiteral("day <= :to");
    const QString where = conditions.isEmpty() ? QString() : QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    QString sql = QStringLiteral("SELECT %1 FROM rides%2").arg(columns(), where);
    if (filter.newest > 0)
        sql = QStringLiteral("SELECT * FROM (%1 ORDER BY day DESC, id DESC LIMIT %2)").arg(sql).arg(filter.newest);
    query.prepare(sql + QStringLiteral(" ORDER BY day, id"));
    if (filter.bike)
        query.bindValue(QStringLiteral(":bike"), *filter.bike);
    if (filter.from.isValid())
        query.bindValue(QStringLiteral(":from"), filter.from.toString(DayFormat));
    if (filter.to.isValid())
        query.bindValue(QStringLiteral(":to"), filter.to.toString(DayFormat));
}

RideEntry RideQuery::entry(const QSqlRecord &row)
{
    RideEntry entry;
    int column = 0;
    const auto next = [&] { return row.value(column++); };
    entry.id = next().toLongLong();
    entry.device = next().toString();
    entry.date = QDate::fromString(next().toString(), DayFormat);
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
