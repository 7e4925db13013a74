// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class RideReport;

/// Lays a report out for people (aligned labels under group titles) or for programs (JSON).
class ReportPrinter
{
public:
    static QString toText(const RideReport &report);
    /// One object: "units" with the unit of each kind of value, then one member per group.
    static QString toJson(const RideReport &report);
};
