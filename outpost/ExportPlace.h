// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "outpost/outpost_global.h"

#include <QDate>
#include <QString>

/// Where a ride is written when the user does not say otherwise: the folder used last (kept in
/// the settings store), the user's documents folder the first time, under a name made of the
/// model, the day and the bike. Every program that writes rides shares the folder.
class OUTPOST_EXPORT ExportPlace
{
public:
    /// The settings key of the folder of the last file written.
    static constexpr const char *LastFolderKey = "export/last_folder";

    /// The folder used last while it exists, else the user's documents folder.
    static QString folder();
    /// Keeps the folder of a file just written for the next export.
    static void remember(const QString &writtenPath);
    /// A FIT file name such as "lumo60-2026-12-08-bike1.fit"; bike counts from 1.
    static QString proposedName(const QString &modelName, const QDate &day, int bike);
    /// A CSV log name such as "lumo60-bike1.csv": one log per model and bike gathers their rides,
    /// as an import of a log takes them for one model and bike.
    static QString proposedLogName(const QString &modelName, int bike);
};
