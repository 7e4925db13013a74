// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "logbook/Logbook.h"
#include "logbook/logbook_global.h"

#include <QFileSystemWatcher>
#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <optional>
#include <utility>

/// Tells when another program has recorded into an open logbook, without reading its rides: the
/// file system reports writes to the file and its write-ahead log, and SQLite's data version
/// confirms a commit. The version is read on a connection of the watch's own, because a list
/// that has not read its rides to the end holds its connection's view of the file as it was.
class LOGBOOK_EXPORT LogbookWatch : public QObject
{
    Q_OBJECT

    /// Device and inode: what tells the file opened from another put in its place.
    using FileIdentity = std::pair<quint64, quint64>;

public:
    /// How long the writes of one commit take to come to rest before the version is read.
    static constexpr std::chrono::milliseconds Settle{150};
    /// How often the version is read anyway, for file systems that report no writes.
    static constexpr std::chrono::milliseconds Fallback{2000};

    /// `logbook` must be open, and outlive the watch.
    explicit LogbookWatch(Logbook &logbook, QObject *parent = nullptr);

    /// Takes what was committed until now as seen: the window calls it as it reads the logbook
    /// after a change of its own, which would otherwise come back as another program's.
    void acknowledge();

signals:
    /// A change was committed since the last signal (or since the watch began).
    void changed();
    /// The file was moved, replaced or deleted: the connections open on it now hold a file that is
    /// no longer at its place, and whatever they wrote would be lost. The watch ends.
    void gone();

private:
    void watchFiles();
    void check();
    qint64 dataVersion() const;
    static std::optional<FileIdentity> identity(const QString &path);

    QString m_path;
    std::optional<FileIdentity> m_identity;
    Logbook m_reader;
    QFileSystemWatcher m_files;
    QTimer m_settle;
    QTimer m_fallback;
    qint64 m_version = -1;
};
