// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "logbook/logbook_global.h"

#include <QCoreApplication>
#include <QString>

class QSqlError;

/// Why the logbook could not be opened, read or changed. Whatever the kind, the file was left as
/// it was and nothing was half written; the message names the file and what to do.
class LOGBOOK_EXPORT LogbookError
{
    Q_DECLARE_TR_FUNCTIONS(LogbookError)

public:
    enum class Kind {
        CannotOpen, ///< missing folder, or the file cannot be created or opened
        Damaged, ///< not an SQLite file, a damaged one, or another program's database
        Newer, ///< written by a newer version of the product
        ReadOnly, ///< no permission to change the file or its folder
        DiskFull, ///< the disk is full or the file may not grow
        Busy, ///< another program kept it busy beyond the wait
        NoSuchRide,
        Gone, ///< moved, replaced or deleted while it was open
    };

    LogbookError(Kind kind, const QString &path, const QString &detail = QString());

    /// The kind of a failed statement of SQLite.
    static LogbookError fromSql(const QSqlError &error, const QString &path);

    Kind kind() const { return m_kind; }
    QString path() const { return m_path; }
    /// What SQLite or the system said, as shown inside the message.
    QString detail() const { return m_detail; }
    /// The one line the user is shown.
    QString message() const;

private:
    Kind m_kind;
    QString m_path;
    QString m_detail;
};
