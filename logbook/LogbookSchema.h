// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "logbook/logbook_global.h"

#include <QSqlError>
#include <QStringList>

class QSqlDatabase;

/// The logbook's tables, every version of them, and the steps between versions: the only place
/// that knows the schema. The version is SQLite's user_version; a file of the product also
/// carries its application_id, so another program's database is never taken for a logbook.
class LOGBOOK_EXPORT LogbookSchema
{
public:
    /// Version 1: the rides. Version 2: a note and the mark of corrected values per ride.
    /// Version 3: the bikes' names and service days.
    static constexpr int CurrentVersion = 3;
    /// "PCRW"
    static constexpr qint32 ApplicationId = 0x50435257;

    /// The statements that take a file from `version` - 1 to `version` (1 creates the tables).
    static QStringList step(int version);

    /// Takes the file step by step to CurrentVersion, each step one transaction that first looks
    /// again at the version, so that two programs migrating at once do each step once.
    /// The first failed statement's error; none when it is done.
    static QSqlError migrate(QSqlDatabase &database);
};
