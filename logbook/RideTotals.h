// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "logbook/LogbookError.h"
#include "logbook/logbook_global.h"

#include <QDate>
#include <QList>
#include <QString>

#include <optional>
#include <utility>

class Logbook;

/// The sums of one week, month or year, as plain values a table or a chart shows.
struct PeriodTotal
{
    QString period; ///< "2026-W49" (ISO week), "2026-12" or "2026"
    qint64 rides = 0;
    qint64 distance = 0; ///< mm
    qint64 rideTime = 0; ///< s
    qint64 ascent = 0; ///< m
    qint64 kcal = 0; ///< the sum of the rides' figures; the device counts energy per day, not per bike
};

/// Totals of the logbook's rides by period, oldest period first; periods without rides are left out.
class LOGBOOK_EXPORT RideTotals
{
public:
    enum class Period { Week, Month, Year };

    /// `bike` 1 or 2, or 0 for both.
    static std::optional<LogbookError> compute(Logbook &logbook, Period period, int bike, QList<PeriodTotal> &totals);

    /// The rides from `from` to `to`, both days included, as one total named after `from`'s year.
    static std::optional<LogbookError> span(Logbook &logbook, const QDate &from, const QDate &to, int bike,
                                            PeriodTotal &total);
    /// This year from 1 January to `today`, against last year from 1 January to the same date
    /// (the 28th when today is 29 February).
    static std::optional<LogbookError> yearSoFar(Logbook &logbook, const QDate &today, int bike, PeriodTotal &thisYear,
                                                 PeriodTotal &lastYear);

    /// At most `count` periods (0: no limit) up to the newest of `totals` and from the oldest on,
    /// oldest first, those without rides as empty totals: what a chart shows.
    static QList<PeriodTotal> recent(Period period, const QList<PeriodTotal> &totals, int count);

    /// The name compute() gives the period `day` lies in.
    static QString periodOf(Period period, const QDate &day);
    /// The first day of a period compute() named; invalid for any other text.
    static QDate firstDay(Period period, const QString &name);
    /// The first and the last day of the period `day` lies in.
    static std::pair<QDate, QDate> daysOf(Period period, const QDate &day);
};
