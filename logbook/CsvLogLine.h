// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "logbook/RideEntry.h"
#include "logbook/logbook_global.h"

#include <QCoreApplication>
#include <QHash>
#include <QString>
#include <QStringView>

#include <optional>

/// Reads the lines of the CSV logs the product writes: 27 columns separated by "; ", in either
/// unit system (named by the first column), headings in any language (taken by position), dates
/// with English names or those of the system locale, as the log is written.
class LOGBOOK_EXPORT CsvLogLine
{
    Q_DECLARE_TR_FUNCTIONS(CsvLogLine)

public:
    /// The units, the date, then every value of the ride.
    static constexpr int ColumnCount = 2 + RideValueCount;

    CsvLogLine();

    /// Whether a line's first column names the units of a data line.
    static bool namesUnits(QStringView line);

    /// The ride of a data line, for bike 1 and of no known model; nothing, and the reason, when the
    /// line is not one the log holds.
    std::optional<RideEntry> read(QStringView line, QString &reason) const;

    /// How far apart two distances of the same ride may be after a round trip through a line of
    /// this unit system (half its last digit), in millimetres.
    static qint64 distanceTolerance(int unitSystem);

private:
    std::optional<QDateTime> dateTime(QStringView text) const;

    QHash<QString, int> m_months; // lower-case month names, short and long, English and the system's
    mutable QString m_lastMonthName;
    mutable int m_lastMonth = 0;
    // The offset from UTC of the last hour a date-time was read for.
    mutable QDate m_offsetDate;
    mutable int m_offsetHour = -1;
    mutable int m_offset = 0;
};
