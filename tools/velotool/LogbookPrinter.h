// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "logbook/RideEntry.h"
#include "logbook/RideTotals.h"
#include "logbook/DisplayUnits.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

/// Lays the logbook out for people (tables aligned for a terminal, in the units chosen) or for
/// programs (JSON in metric units, with exactly the documented keys).
class LogbookPrinter
{
    Q_DECLARE_TR_FUNCTIONS(LogbookPrinter)

public:
    static QString rideTable(const QList<RideEntry> &rides, const DisplayUnits &units);
    static QString totalsTable(const QList<PeriodTotal> &totals, const DisplayUnits &units);
    static QString ridesJson(const QList<RideEntry> &rides);
    static QString totalsJson(const QList<PeriodTotal> &totals);
};
