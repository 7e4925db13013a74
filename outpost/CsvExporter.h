#pragma once

#include "outpost/outpost_global.h"

#include <QDateTime>
#include <QString>

class ModelData;

/// Appends one ride of a device record as a line of a semicolon-separated log file, in the units
/// the device displays. The column headings are written only when the file is new.
class OUTPOST_EXPORT CsvExporter
{
public:
    CsvExporter() = default;

    /// Appends the ride of bike index `bike` (0 = bike 1, 1 = bike 2) that started at `rideStart`.
    /// False, and nothing written, when the file cannot be opened or the record or bike index
    /// cannot be exported; false too when writing the line failed.
    static bool exportToCsv(const QString &fileName, ModelData *modelData, int bike, const QDateTime &rideStart);
};
