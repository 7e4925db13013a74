// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QStringList>
#include <QVariant>

/// Plain SQL on a database file, past the logbook: for fixtures of older versions and for
/// looking at what the logbook wrote.
class RawDatabase
{
public:
    explicit RawDatabase(const QString &path)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), Name);
        db.setDatabaseName(path);
        m_open = db.open();
    }

    ~RawDatabase()
    {
        QSqlDatabase::database(Name, false).close();
        QSqlDatabase::removeDatabase(Name);
    }

    bool isOpen() const { return m_open; }

    /// Runs every statement (one per line) of a file; false at the first that fails.
    bool runScript(const QString &scriptPath)
    {
        QFile script(scriptPath);
        if (!script.open(QIODevice::ReadOnly))
            return false;
        const QStringList statements = QString::fromUtf8(script.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        // One statement a line; a line of comment is no statement.
        for (const QString &statement : statements)
            if (!statement.startsWith(QLatin1String("--")) && !run(statement))
                return false;
        return true;
    }

    bool run(const QString &statement)
    {
        QSqlQuery query(QSqlDatabase::database(Name, false));
        return query.exec(statement);
    }

    /// The first column of the first row of a query, or an invalid value.
    QVariant value(const QString &statement)
    {
        QSqlQuery query(QSqlDatabase::database(Name, false));
        return query.exec(statement) && query.next() ? query.value(0) : QVariant();
    }

private:
    static inline const QString Name = QStringLiteral("raw");
    bool m_open = false;
};
