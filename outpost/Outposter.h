// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "outpost/ParsedRecord.h"
#include "outpost/outpost_global.h"

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QStringList>

#include <iosfwd>

class ModelData;

/// Writes rides as FIT activity files: one ride of a device record (file identity, activity, one
/// session with the ride's totals and one record), or a raw ride record of the device with one
/// record per sample.
class OUTPOST_EXPORT Outposter
{
public:
    Outposter() = default;

    /// Writes the ride of bike index `bike` (0 = bike 1, 1 = bike 2) that started at the local
    /// date-time `rideStart` to `fileName`. The file is written completely before it replaces an
    /// existing one, so a failed export leaves the old file as it was. True on success.
    static bool exportToFit(const QString &fileName, ModelData *modelData, int bike, const QDateTime &rideStart);
    /// The same; when the file cannot be written, `reason` receives the operating system's words for it.
    static bool exportToFit(const QString &fileName, ModelData *modelData, int bike, const QDateTime &rideStart,
                            QString *reason);

    /// Writes the same file to an empty readable, writable and seekable stream. 0 when the file
    /// was completed with its CRC, -1 when it could not be, or when the record, the bike index or
    /// the date-time (no date or no time) cannot be exported.
    static int exportToStream(std::iostream &stream, ModelData *modelData, int bike, const QDateTime &rideStart);

    /// The diagnostic lines of the values that exportToFit with the same arguments leaves out
    /// because their FIT fields cannot hold them (see fit::Mesg::leftOutLines); empty when every
    /// value fits. The export itself warns with the same lines as it writes.
    static QStringList leftOutValues(ModelData *modelData, int bike, const QDateTime &rideStart);

    /// Decodes a raw ride record; any bytes may be given (see ParsedRecord::valid).
    static ParsedRecord parseRecord(const QByteArray &record);

    /// Writes the FIT file of a raw ride record to an empty readable, writable and seekable stream.
    /// 0 when the file was completed with its CRC; -1 when it could not be, and -1 with nothing
    /// written for a record shorter than its 64-byte header or whose start is no date and time.
    static int exportToStream(std::iostream &stream, const QByteArray &record);

    /// Writes the FIT file of a raw ride record to `fileName`, completely before it replaces an
    /// existing file. 0 on success; -1, and the old file left as it was, otherwise.
    static int exportToFit(const QString &fileName, const QByteArray &record);
};
