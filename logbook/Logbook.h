// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "logbook/LogbookError.h"
#include "logbook/logbook_global.h"

#include <QCoreApplication>
#include <QSqlDatabase>
#include <QSqlError>
#include <QString>

#include <chrono>
#include <functional>
#include <optional>

/// One logbook file, opened on the thread that uses it. SQLite keeps the rides; the file is in
/// write-ahead-log mode with a busy wait, so several programs may record into it at the same
/// moment and readers never wait for writers. Every change is one transaction.
///
/// Objects that query the logbook (a RideListModel) must be gone before it is.
class LOGBOOK_EXPORT Logbook
{
    Q_DECLARE_TR_FUNCTIONS(Logbook)

public:
    /// How long a change waits for another program to finish its own.
    static constexpr std::chrono::milliseconds BusyWait{10000};

    /// logbook.sqlite in the application data folder of Velquist's Pacerow, whichever program asks.
    static QString defaultPath();
    /// The logbook the desktop programs keep: the one their settings name (logbook/path), or else
    /// the default one.
    static QString desktopPath();

    explicit Logbook(const QString &path);
    ~Logbook();

    Logbook(const Logbook &) = delete;
    Logbook &operator=(const Logbook &) = delete;

    /// Opens the file, creating it when missing (and the default folder with it), and brings an
    /// older schema up to date after keeping a copy of the file beside it (named by
    /// backupPathBefore()). A newer, damaged or foreign file is refused and left untouched.
    std::optional<LogbookError> open();
    /// Opens the file only to read it: it is never created, brought up to date or written. For a
    /// connection beside the one that changes the logbook: a list that has not read its rides to
    /// the end holds its connection's view of the file as it was, which on a connection of its
    /// own keeps no change waiting; and a thread of its own needs a connection of its own.
    std::optional<LogbookError> openToRead();

    QString path() const { return m_path; }
    /// The copy kept before a file of `version` is migrated.
    QString backupPathBefore(int version) const;
    QSqlDatabase database() const;

    using Change = std::function<std::optional<LogbookError>(QSqlDatabase &)>;
    /// Runs `change` as one write transaction: either all of it is in the file or none of it.
    std::optional<LogbookError> change(const Change &change);

    /// The error of a failed statement, for this file.
    LogbookError error(const QSqlError &error) const { return LogbookError::fromSql(error, m_path); }

    /// Writes a consistent copy to `target` while other programs may be recording; `target` is
    /// replaced only once the copy is complete.
    std::optional<LogbookError> backup(const QString &target);

private:
    std::optional<LogbookError> checkFile(int &version);
    std::optional<LogbookError> copyTo(const QString &target);

    QString m_path;
    QString m_connectionName;
};
