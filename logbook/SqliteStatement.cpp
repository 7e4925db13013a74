// SPDX-License-Identifier: GPL-3.0-or-later
#include "logbook/SqliteStatement.h"

#include <QSqlDatabase>
#include <QSqlDriver>

#include <sqlite3.h>

sqlite3 *SqliteStatement::connectionOf(const QSqlDatabase &database)
{
    const QVariant handle = database.driver()->handle();
    return qstrcmp(handle.typeName(), "sqlite3*") == 0 ? *static_cast<sqlite3 *const *>(handle.data()) : nullptr;
}

SqliteStatement::SqliteStatement(const QSqlDatabase &database, const QString &statement)
    : m_connection(connectionOf(database))
{
    if (!m_connection) {
        m_error = QSqlError(QString(), tr("not an open SQLite connection"), QSqlError::ConnectionError);
        return;
    }
    const QByteArray text = statement.toUtf8();
    const int code = sqlite3_prepare_v3(m_connection, text.constData(), int(text.size()), SQLITE_PREPARE_PERSISTENT,
                                        &m_statement, nullptr);
    if (code != SQLITE_OK)
        fail();
    else
        m_texts.resize(std::size_t(sqlite3_bind_parameter_count(m_statement)) + 1);
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
    if (text.isNull() || position < 1 || std::size_t(position) >= m_texts.size()) {
        sqlite3_bind_null(m_statement, position);
        return;
    }
    QByteArray &buffer = m_texts[std::size_t(position)];
    buffer.resize(m_utf8.requiredSpace(text.size()));
    const char *end = m_utf8.appendToBuffer(buffer.data(), text);
    sqlite3_bind_text(m_statement, position, buffer.constData(), int(end - buffer.constData()), SQLITE_STATIC);
}

void SqliteStatement::bind(int position, qint64 value)
{
    sqlite3_bind_int64(m_statement, position, value);
}

bool SqliteStatement::run()
{
    if (!m_statement)
        return false;
    int code = sqlite3_step(m_statement);
    while (code == SQLITE_ROW)
        code = sqlite3_step(m_statement);
    if (code != SQLITE_DONE)
        fail();
    // Reset keeps the bindings; the next run binds every one of them again.
    sqlite3_reset(m_statement);
    return code == SQLITE_DONE;
}

void SqliteStatement::fail()
{
    // In the words and numbers of Qt's driver, which LogbookError reads.
    m_error = QSqlError(QCoreApplication::translate("QSQLiteResult", "Unable to fetch row"),
                        QString::fromUtf8(sqlite3_errmsg(m_connection)), QSqlError::ConnectionError,
                        QString::number(sqlite3_extended_errcode(m_connection)));
}
