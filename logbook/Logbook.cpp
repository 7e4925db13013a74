// SPDX-License-Identifier: GPL-3.0-or-later
#include "logbook/Logbook.h"

#include "logbook/LogbookSchema.h"
#include "logbook/SqliteStatement.h"

#include <QAtomicInteger>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <QVariant>

#include <cstdio>

#include <sqlite3.h>

namespace {

QString textOf(sqlite3_value *value)
{
    // The text first, then its length: asking for the text may convert the value.
    const auto *text = reinterpret_cast<const char *>(sqlite3_value_text(value));
    return QString::fromUtf8(text, sqlite3_value_bytes(value));
}

// SQLite's LIKE ignores the case of ASCII letters only; notes are searched as their reader sees
// them, "Über" found by "über".
void containsText(sqlite3_context *context, int, sqlite3_value **values)
{
    sqlite3_result_int(context, textOf(values[0]).contains(textOf(values[1]), Qt::CaseInsensitive) ? 1 : 0);
}

void addTextSearch(const QSqlDatabase &database)
{
    if (sqlite3 *connection = SqliteStatement::connectionOf(database))
        sqlite3_create_function_v2(connection, "contains_text", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                   containsText, nullptr, nullptr, nullptr);
}

QAtomicInteger<quint64> connectionCount;

// The number one statement gives, or -1 when it fails.
qint64 number(QSqlQuery &query, const QString &statement)
{
    return query.exec(statement) && query.next() ? query.value(0).toLongLong() : -1;
}

} // namespace

QString Logbook::defaultPath()
{
    // velotool names itself differently; both programs keep one logbook, the product's.
    return QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
        + QStringLiteral("/Velquist/Pacerow/logbook.sqlite");
}

QString Logbook::desktopPath()
{
    const QString named = QSettings().value(QStringLiteral("logbook/path")).toString();
    return named.isEmpty() ? defaultPath() : named;
}

Logbook::Logbook(const QString &path)
    : m_path(path), m_connectionName(QStringLiteral("logbook-%1").arg(connectionCount.fetchAndAddRelaxed(1)))
{
    QSqlDatabase database = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    database.setDatabaseName(path);
    database.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(BusyWait.count()));
}

Logbook::~Logbook()
{
    database().close();
    QSqlDatabase::removeDatabase(m_connectionName);
}

QSqlDatabase Logbook::database() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

QString Logbook::backupPathBefore(int version) const
{
    return m_path + QStringLiteral(".v%1.bak").arg(version);
}

std::optional<LogbookError> Logbook::open()
{
    if (!QFileInfo::exists(m_path) && m_path == defaultPath())
        QDir().mkpath(QFileInfo(m_path).absolutePath());
    QSqlDatabase db = database();
    if (!db.open())
        return error(db.lastError());
    addTextSearch(db);
    int version = 0;
    if (auto failure = checkFile(version)) {
        db.close();
        return failure;
    }
    if (version > 0 && version < LogbookSchema::CurrentVersion) {
        const QString backup = backupPathBefore(version);
        QFile::remove(backup);
        if (auto failure = copyTo(backup))
            return failure;
    }
    // Only a file that is the product's own gets here, so this is the first change made to it.
    // A file that may not be written stays in its mode and can still be read.
    QSqlQuery(db).exec(QStringLiteral("PRAGMA journal_mode = WAL"));
    if (version < LogbookSchema::CurrentVersion) {
        const QSqlError failure = LogbookSchema::migrate(db);
        if (failure.isValid())
            return error(failure);
    }
    return std::nullopt;
}

std::optional<LogbookError> Logbook::openToRead()
{
    if (!QFileInfo::exists(m_path))
        return LogbookError(LogbookError::Kind::CannotOpen, m_path, tr("no such file"));
    QSqlDatabase db = database();
    db.setConnectOptions(db.connectOptions() + QStringLiteral(";QSQLITE_OPEN_READONLY"));
    if (!db.open())
        return error(db.lastError());
    addTextSearch(db);
    int version = 0;
    std::optional<LogbookError> failure = checkFile(version);
    if (!failure && version != LogbookSchema::CurrentVersion)
        failure = LogbookError(LogbookError::Kind::CannotOpen, m_path, tr("not yet brought up to date"));
    if (failure)
        db.close();
    return failure;
}

std::optional<LogbookError> Logbook::checkFile(int &version)
{
    QSqlQuery query(database());
    const qint64 userVersion = number(query, QStringLiteral("PRAGMA user_version"));
    const qint64 applicationId = userVersion < 0 ? -1 : number(query, QStringLiteral("PRAGMA application_id"));
    const qint64 tables = applicationId < 0 ? -1 : number(query, QStringLiteral("SELECT count(*) FROM sqlite_master"));
    if (tables < 0)
        return error(query.lastError());
    version = int(userVersion);
    if (version == 0 && tables == 0)
        return std::nullopt;
    if (applicationId != LogbookSchema::ApplicationId)
        return LogbookError(LogbookError::Kind::Damaged, m_path, tr("another program's database"));
    if (version > LogbookSchema::CurrentVersion)
        return LogbookError(LogbookError::Kind::Newer, m_path,
                            tr("schema %1; this version knows up to %2").arg(version).arg(LogbookSchema::CurrentVersion));
    return std::nullopt;
}

std::optional<LogbookError> Logbook::change(const Change &change)
{
    QSqlDatabase db = database();
    QSqlQuery query(db);
    if (!query.exec(QStringLiteral("BEGIN IMMEDIATE")))
        return error(query.lastError());
    std::optional<LogbookError> failure = change(db);
    if (!failure && !query.exec(QStringLiteral("COMMIT")))
        failure = error(query.lastError());
    if (failure)
        query.exec(QStringLiteral("ROLLBACK"));
    return failure;
}

std::optional<LogbookError> Logbook::copyTo(const QString &target)
{
    QSqlQuery query(database());
    // A read transaction of its own: the copy is the logbook as one commit left it.
    query.prepare(QStringLiteral("VACUUM INTO ?"));
    query.addBindValue(target);
    if (!query.exec())
        return error(query.lastError());
    return std::nullopt;
}

std::optional<LogbookError> Logbook::backup(const QString &target)
{
    const QFileInfo info(target);
    QTemporaryFile staged(info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".XXXXXX"));
    if (!staged.open())
        return LogbookError(LogbookError::Kind::CannotOpen, target, staged.errorString());
    staged.close();
    if (auto failure = copyTo(staged.fileName()))
        return LogbookError(failure->kind(), target, failure->detail());
    if (std::rename(QFile::encodeName(staged.fileName()).constData(), QFile::encodeName(target).constData()) != 0)
        return LogbookError(LogbookError::Kind::CannotOpen, target, tr("the copy could not take its name"));
    staged.setAutoRemove(false);
    return std::nullopt;
}
