// SPDX-License-Identifier: GPL-3.0-or-later
#include "logbook/SqliteStatement.h"

#include <QSqlDatabase>
#include <QSqlDriver>

#include <sqlite3.h>

SqliteStatement::SqliteStatement(const QSqlDatabase &database, const QString &statement)
{
    const QVariant handle = database.driver()->handle();
    if (qstrcmp(handle.typeName(), "sqlite3*") == 0)
        m_connection = *static_cast<sqlite3 *const *>(handle.data());
    if (!m_connection) {
        m_error = QSqlError(QString(), QStringLiteral("not an open SQLite connection"), QSqlError::ConnectionError);
        return;
    }
    const QByteArray text = statement.toUtf8();
    const int code = sqlite3_prepare_v3(m_connection, text.constData(), int(text.size()), SQLITE_PREPARE_PERSISTENT,
                                        &m_statement, nullptr);
    if (code != SQLITE_OK)
        fail(code);
}

SqliteStatement::~SqliteStatement()
{
    sqlite3_finalize(m_statement);
}

int SqliteStatement::position(const char *name) const
{
    return m_statement ? sqlite3_bind_parameter_index(m_statement, name) : 0;
}

void SqliteStatement::bind(int position, const QVariant &value)
{
    if (value.typeId() == QMetaType::QString)
        bind(position, value.toString());
    else if (value.isNull())
        sqlite3_bind_null(m_statement, position);
    else
        bind(position, value.toLongLong());
}

void SqliteStatement::bind(int position, const QString &text)
{
    if (text.isNull())
        sqlite3_bind_null(m_statement, position);
    else
        sqlite3_bind_text16(m_statement, position, text.utf16(), int(text.size() * sizeof(char16_t)), SQLITE_TRANSIENT);
}

void SqliteStatement::bind(int position, qint64 value)
{
    sqlite3_bind_int64(m_statement, position, value);
}

bool SqliteStatement::run()
{
    if (!m_statement)
        return false;
    m_rowFound = false;
    int code = sqlite3_step(m_statement);
    for (; code == SQLITE_ROW; code = sqlite3_step(m_statement))
        m_rowFound = true;
    if (code != SQLITE_DONE)
        fail(code);
    // Reset keeps the bindings; the next run binds every one of them again.
    sqlite3_reset(m_statement);
    return code == SQLITE_DONE;
}

void SqliteStatement::fail(int code)
{
    const int extended = sqlite3_extended_errcode(m_connection);
    m_error = QSqlError(QStringLiteral("Unable to execute statement"), QString::fromUtf8(sqlite3_errmsg(m_connection)),
                        QSqlError::StatementError, QString::number((extended & 0xff) == (code & 0xff) ? extended : code));
}
