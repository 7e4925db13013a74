#pragma once

#include "outpost/outpost_global.h"

#include <QDateTime>
#include <QString>

#include <iosfwd>

class ModelData;

/// Writes one ride of a device record as a FIT activity file: file identity, activity, one
/// session with the ride's totals and one record.
class OUTPOST_EXPORT Outposter
{
public:
    Outposter() = default;

    /// Writes the ride of bike index `bike` (0 = bike 1, 1 = bike 2) that started at the local
    /// date-time `rideStart` to `fileName`. The file is written completely before it replaces an
    /// existing one, so a failed export leaves the old file as it was. True on success.
    static bool exportToFit(const QString &fileName, ModelData *modelData, int bike, const QDateTime &rideStart);

    /// Writes the same file to an empty readable, writable and seekable stream. 0 when the file
    /// was completed with its CRC, -1 when it could not be, or when the record, the bike index or
    /// the date-time (no date or no time) cannot be exported.
    static int exportToStream(std::iostream &stream, ModelData *modelData, int bike, const QDateTime &rideStart);
};
