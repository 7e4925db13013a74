// SPDX-License-Identifier: GPL-3.0-or-later
#include "logbook/RideTotals.h"

#include "logbook/Logbook.h"

#include <QSqlQuery>
#include <QVariant>

namespace {

// The ISO week belongs to the year of its Thursday, and counts from that year's first Thursday.
const QString IsoWeek = QStringLiteral(
    "strftime('%Y', date(day, '-3 days', 'weekday 4')) || '-W' || "
    "printf('%02d', (strftime('%j', date(day, '-3 days', 'weekday 4')) - 1) / 7 + 1)");

QString periodExpression(RideTotals::Period period)
{
    switch (period) {
    case RideTotals::Period::Week:
        return IsoWeek;
    case RideTotals::Period::Month:
        return QStringLiteral("substr(day, 1, 7)");
    case RideTotals::Period::Year:
        return QStringLiteral("substr(day, 1, 4)");
    }
    return QString();
}

} // namespace

std::optional<LogbookError> RideTotals::compute(Logbook &logbook, Period period, int bike, QList<PeriodTotal> &totals)
{
    QSqlQuery query(logbook.database());
    query.setForwardOnly(true);
    query.prepare(QStringLiteral("SELECT %1 AS period, count(*), sum(distance), sum(ride_time), sum(ascent), sum(kcal) "
                                 "FROM rides WHERE ? = 0 OR bike = ? GROUP BY period ORDER BY period")
                      .arg(periodExpression(period)));
    query.addBindValue(bike);
    query.addBindValue(bike);
    if (!query.exec())
        return logbook.error(query.lastError());
    while (query.next())
        totals.append({query.value(0).toString(), query.value(1).toLongLong(), query.value(2).toLongLong(),
                       query.value(3).toLongLong(), query.value(4).toLongLong(), query.value(5).toLongLong()});
    return std::nullopt;
}
