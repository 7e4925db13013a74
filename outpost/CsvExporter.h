// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "outpost/outpost_global.h"

#include <QDateTime>
#include <QString>

class ModelData;

/// Appends one ride of a device record as a line of a semicolon-separated log file, in the units
/// the device displays. The column headings are written only when the file is new (or empty).
/// Programs appending to one log at the same moment take turns; a line reported written is on the
/// disk, and a failed append leaves the file exactly as it was.
class OUTPOST_EXPORT CsvExporter
{
public:
    CsvExporter() = default;

    /// Appends the ride of bike index `bike` (0 = bike 1, 1 = bike 2) that started at `rideStart`.
    /// False, and the file left as it was, when it cannot be opened, the record or bike index
    /// cannot be exported, or writing the line failed (a full disk, for example).
    static bool exportToCsv(const QString &fileName, ModelData *modelData, int bike, const QDateTime &rideStart);
    /// The same; on a failure to open or write the file, `reason` receives the operating system's
    /// words for it ("No such file or directory", "No space left on device").
    static bool exportToCsv(const QString &fileName, ModelData *modelData, int bike, const QDateTime &rideStart,
                            QString *reason);
};
