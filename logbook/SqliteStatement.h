// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QSqlError>
#include <QString>
#include <QStringEncoder>
#include <QVariant>

#include <vector>

struct sqlite3;
struct sqlite3_stmt;
class QSqlDatabase;

/// One statement of the logbook's connection, prepared once and run many times through SQLite's
/// own interface. Qt's binding of values costs more than SQLite's whole insert, so an import of
/// many thousand lines binds here instead; everything else goes through Qt SQL. Qt's driver is
/// built on the system's SQLite, the library linked here, so both work on the one connection.
class SqliteStatement
{
    Q_DECLARE_TR_FUNCTIONS(SqliteStatement)

public:
    /// The SQLite connection under Qt's, or null when `database` is no open SQLite connection.
    static sqlite3 *connectionOf(const QSqlDatabase &database);

    /// Prepares `statement` on the connection of `database`, which must be open with the QSQLITE
    /// driver; error() tells when that failed.
    SqliteStatement(const QSqlDatabase &database, const QString &statement);
    ~SqliteStatement();

    SqliteStatement(const SqliteStatement &) = delete;
    SqliteStatement &operator=(const SqliteStatement &) = delete;

    /// The position of the placeholder `name` (":name"), 0 when the statement has none of it.
    int position(const char *name) const;
    /// Binds a value as Qt's driver would: a null QString, or a QVariant that is null or holds
    /// one, as NULL; an integer; a text.
    void bind(int position, const QVariant &value);
    void bind(int position, const QString &text);
    void bind(int position, qint64 value);

    /// Runs the statement to its end with what is bound and makes it ready for the next values.
    bool run();
    /// Why preparing or the last run() failed, as Qt's driver would say it.
    QSqlError error() const { return m_error; }

private:
    void fail();

    sqlite3 *m_connection = nullptr;
    sqlite3_stmt *m_statement = nullptr;
    QSqlError m_error;
    // Each placeholder's text, in SQLite's own encoding, kept until it is bound again.
    QStringEncoder m_utf8{QStringConverter::Utf8, QStringConverter::Flag::Stateless};
    std::vector<QByteArray> m_texts;
};
