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

/// The order of a list: by one field, then by day and by the order the rides were recorded in.
struct RideOrder
{
    enum class Key { Day, Start, Model, Bike, Value, Note };

    RideOrder(Key key = Key::Day, RideValue value = RideValue::Distance, Qt::SortOrder direction = Qt::AscendingOrder)
        : key(key), value(value), direction(direction)
    {
    }

    Key key;
    RideValue value; ///< the value to order by when the key is Value
    Qt::SortOrder direction;
};

/// Which rides a list shows, and in which order.
struct RideFilter
{
    std::optional<int> bike; ///< 1 or 2; both when not set
    QDate from; ///< first day, or none
    QDate to; ///< last day, or none
    int newest = 0; ///< only the newest so many; 0 for all
    QString noteContains; ///< only rides whose note holds this text, in any case; empty for all
    RideOrder order; ///< oldest first unless told otherwise
};

/// The sums of the rides a filter takes in.
struct RideSum
{
    qint64 rides = 0;
    qint64 distance = 0; ///< mm
    qint64 rideTime = 0; ///< s
    qint64 ascent = 0; ///< m
    qint64 kcal = 0;
};

/// Reading rides out of the logbook, oldest first unless the filter orders them otherwise.
class LOGBOOK_EXPORT RideQuery
{
public:
    /// The statement of a list, with its values bound.
    static void prepare(QSqlQuery &query, const RideFilter &filter);
    /// The entry in the current row of a query prepared here.
    static RideEntry entry(const QSqlRecord &row);

    static std::optional<LogbookError> rides(Logbook &logbook, const RideFilter &filter, QList<RideEntry> &rides);
    static std::optional<LogbookError> ride(Logbook &logbook, qint64 id, RideEntry &ride);
    /// The sums of the rides of `filter`, in one statement.
    static std::optional<LogbookError> sum(Logbook &logbook, const RideFilter &filter, RideSum &sum);
    /// Whether the logbook holds any ride at all.
    static std::optional<LogbookError> hasRides(Logbook &logbook, bool &any);

private:
    /// The list's statement without its order, and its values to bind.
    static QString select(const RideFilter &filter);
    static void bind(QSqlQuery &query, const RideFilter &filter);
    static QString orderBy(const RideOrder &order);
};
