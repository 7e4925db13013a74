// SPDX-License-Identifier: GPL-3.0-or-later
#include "logbook/LogbookWatch.h"

#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QSqlQuery>
#include <QVariant>

#include <sys/stat.h>

namespace {

QString walPath(const QString &path)
{
    return path + QStringLiteral("-wal");
}

} // namespace

LogbookWatch::LogbookWatch(Logbook &logbook, QObject *parent)
    : QObject(parent), m_path(logbook.path()), m_identity(identity(logbook.path())), m_reader(logbook.path())
{
    // The watch only looks: it never writes, whatever becomes of the file.
    if (const auto failure = m_reader.openToRead())
        qWarning() << "rides recorded elsewhere will not show until the window is opened again:" << failure->message();
    m_version = dataVersion();

    m_settle.setSingleShot(true);
    m_settle.setInterval(Settle);
    connect(&m_settle, &QTimer::timeout, this, &LogbookWatch::check);
    m_fallback.setInterval(Fallback);
    connect(&m_fallback, &QTimer::timeout, this, &LogbookWatch::check);
    m_fallback.start();

    // The write-ahead log comes and goes with the programs that have the file open; the folder
    // tells when it comes back.
    m_files.addPath(QFileInfo(m_path).absolutePath());
    watchFiles();
    connect(&m_files, &QFileSystemWatcher::fileChanged, this, &LogbookWatch::watchFiles);
    connect(&m_files, &QFileSystemWatcher::directoryChanged, this, &LogbookWatch::watchFiles);
}

void LogbookWatch::watchFiles()
{
    const QStringList watched = m_files.files();
    for (const QString &file : {m_path, walPath(m_path)})
        if (!watched.contains(file) && QFileInfo::exists(file))
            m_files.addPath(file);
    m_settle.start();
}

void LogbookWatch::acknowledge()
{
    m_settle.stop();
    m_version = dataVersion();
}

void LogbookWatch::check()
{
    if (identity(m_path) != m_identity) {
        m_settle.stop();
        m_fallback.stop();
        m_files.disconnect(this);
        emit gone();
        return;
    }
    const qint64 version = dataVersion();
    if (version == m_version)
        return;
    m_version = version;
    emit changed();
}

qint64 LogbookWatch::dataVersion() const
{
    QSqlQuery query(m_reader.database());
    return query.exec(QStringLiteral("PRAGMA data_version")) && query.next() ? query.value(0).toLongLong() : -1;
}

std::optional<LogbookWatch::FileIdentity> LogbookWatch::identity(const QString &path)
{
    struct stat info;
    if (::stat(QFile::encodeName(path).constData(), &info) != 0)
        return std::nullopt;
    return FileIdentity(quint64(info.st_dev), quint64(info.st_ino));
}
