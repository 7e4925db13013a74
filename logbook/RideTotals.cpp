// SPDX-License-Identifier: GPL-3.0-or-later
#include "logbook/RideTotals.h"

#include "logbook/Logbook.h"
#include "logbook/RideQuery.h"

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

PeriodTotal totalFrom(const QSqlQuery &query, int first)
{
    PeriodTotal total;
    total.rides = query.value(first).toLongLong();
    total.distance = query.value(first + 1).toLongLong();
    total.rideTime = query.value(first + 2).toLongLong();
    total.ascent = query.value(first + 3).toLongLong();
    total.kcal = query.value(first + 4).toLongLong();
    return total;
}

// The Monday of ISO week 1 is the Monday of the week that holds 4 January.
QDate isoWeekStart(int year, int week)
{
    const QDate fourth(year, 1, 4);
    return fourth.addDays(1 - fourth.dayOfWeek() + 7 * (week - 1));
}

QDate periodBefore(RideTotals::Period period, const QDate &firstDay)
{
    switch (period) {
    case RideTotals::Period::Week:
        return firstDay.addDays(-7);
    case RideTotals::Period::Month:
        return firstDay.addMonths(-1);
    case RideTotals::Period::Year:
        return firstDay.addYears(-1);
    }
    return QDate();
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
    while (query.next()) {
        totals.append(totalFrom(query, 1));
        totals.last().period = query.value(0).toString();
    }
    return std::nullopt;
}

std::optional<LogbookError> RideTotals::span(Logbook &logbook, const QDate &from, const QDate &to, int bike,
                                             PeriodTotal &total)
{
    RideFilter filter;
    if (bike != 0)
        filter.bike = bike;
    filter.from = from;
    filter.to = to;
    RideSum sum;
    if (std::optional<LogbookError> failure = RideQuery::sum(logbook, filter, sum))
        return failure;
    total.rides = sum.rides;
    total.distance = sum.distance;
    total.rideTime = sum.rideTime;
    total.ascent = sum.ascent;
    total.kcal = sum.kcal;
    total.period = QString::number(from.year());
    return std::nullopt;
}

std::optional<LogbookError> RideTotals::yearSoFar(Logbook &logbook, const QDate &today, int bike,
                                                  PeriodTotal &thisYear, PeriodTotal &lastYear)
{
    if (std::optional<LogbookError> failure = span(logbook, QDate(today.year(), 1, 1), today, bike, thisYear))
        return failure;
    // addYears() takes 29 February to the 28th of a year without one.
    return span(logbook, QDate(today.year() - 1, 1, 1), today.addYears(-1), bike, lastYear);
}

QList<PeriodTotal> RideTotals::recent(Period period, const QList<PeriodTotal> &totals, int count)
{
    if (totals.isEmpty())
        return {};
    const QDate oldest = firstDay(period, totals.first().period);
    auto known = totals.crbegin();
    QList<PeriodTotal> shown;
    for (QDate day = firstDay(period, totals.last().period); day.isValid() && day >= oldest && (count == 0 || shown.size() < count);
         day = periodBefore(period, day)) {
        const QString name = periodOf(period, day);
        while (known != totals.crend() && known->period > name)
            ++known;
        shown.prepend(known != totals.crend() && known->period == name ? *known : PeriodTotal{name});
    }
    return shown;
}

QString RideTotals::periodOf(Period period, const QDate &day)
{
    switch (period) {
    case Period::Week: {
        int year = 0;
        const int week = day.weekNumber(&year);
        return QStringLiteral("%1-W%2").arg(year).arg(week, 2, 10, QLatin1Char('0'));
    }
    case Period::Month:
        return day.toString(QStringLiteral("yyyy-MM"));
    case Period::Year:
        return day.toString(QStringLiteral("yyyy"));
    }
    return QString();
}

QDate RideTotals::firstDay(Period period, const QString &name)
{
    QDate day;
    switch (period) {
    case Period::Week:
        if (name.size() == 8 && name.mid(4, 2) == QLatin1String("-W"))
            day = isoWeekStart(name.left(4).toInt(), name.mid(6).toInt());
        break;
    case Period::Month:
        day = QDate::fromString(name + QStringLiteral("-01"), Qt::ISODate);
        break;
    case Period::Year:
        day = QDate::fromString(name + QStringLiteral("-01-01"), Qt::ISODate);
        break;
    }
    // Only a name periodOf() gives back names a period.
    return day.isValid() && periodOf(period, day) == name ? day : QDate();
}

std::pair<QDate, QDate> RideTotals::daysOf(Period period, const QDate &day)
{
    const QDate first = firstDay(period, periodOf(period, day));
    switch (period) {
    case Period::Week:
        return {first, first.addDays(6)};
    case Period::Month:
        return {first, first.addMonths(1).addDays(-1)};
    case Period::Year:
        return {first, first.addYears(1).addDays(-1)};
    }
    return {};
}
