// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "logbook/LogbookError.h"
#include "logbook/RideEntry.h"
#include "logbook/logbook_global.h"

#include <QDate>
#include <QList>
#include <QString>

#include <optional>

class Logbook;
class QSqlQuery;
class QSqlRecord;

/// Which rides a list shows.
struct RideFilter
{
    std::optional<int> bike; ///< 1 or 2; both when not set
    QDate from; ///< first day, or none
    QDate to; ///< last day, or none
    int newest = 0; ///< only the newest so many; 0 for all
};

/// Reading rides out of the logbook, oldest first.
class LOGBOOK_EXPORT RideQuery
{
public:
    /// The statement of a list, with its values bound.
    static void prepare(QSqlQuery &query, const RideFilter &filter);
    /// The entry in the current row of a query prepared here.
    static RideEntry entry(const QSqlRecord &row);

    static std::optional<LogbookError> rides(Logbook &logbook, const RideFilter &filter, QList<RideEntry> &rides);
    static std::optional<LogbookError> ride(Logbook &logbook, qint64 id, RideEntry &ride);
};
