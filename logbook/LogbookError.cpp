// SPDX-License-Identifier: GPL-3.0-or-later
#include "logbook/LogbookError.h"

#include <QDir>
#include <QSqlError>

namespace {

// SQLite's primary result codes; the driver may hand out extended ones, whose low byte is the primary.
enum SqliteCode {
    SqliteBusy = 5,
    SqliteLocked = 6,
    SqliteReadOnly = 8,
    SqliteIoError = 10,
    SqliteCorrupt = 11,
    SqliteFull = 13,
    SqliteCantOpen = 14,
    SqliteNotADatabase = 26,
};

} // namespace

LogbookError::LogbookError(Kind kind, const QString &path, const QString &detail)
    : m_kind(kind), m_path(path), m_detail(detail)
{
}

LogbookError LogbookError::fromSql(const QSqlError &error, const QString &path)
{
    bool numeric = false;
    const int code = error.nativeErrorCode().toInt(&numeric) & 0xff;
    const QString detail = error.databaseText().isEmpty() ? error.text() : error.databaseText();
    if (!numeric)
        return {Kind::CannotOpen, path, detail};
    switch (code) {
    case SqliteBusy:
    case SqliteLocked:
        return {Kind::Busy, path, detail};
    case SqliteReadOnly:
        return {Kind::ReadOnly, path, detail};
    case SqliteIoError:
    case SqliteFull:
        return {Kind::DiskFull, path, detail};
    case SqliteCorrupt:
    case SqliteNotADatabase:
        return {Kind::Damaged, path, detail};
    case SqliteCantOpen:
    default:
        return {Kind::CannotOpen, path, detail};
    }
}

QString LogbookError::message() const
{
    const QString file = QDir::toNativeSeparators(m_path);
    switch (m_kind) {
    case Kind::CannotOpen:
        return tr("The logbook %1 cannot be opened (%2). Check that its folder exists and that you may write "
                  "there, or choose another logbook.")
            .arg(file, m_detail);
    case Kind::Damaged:
        return tr("The logbook %1 is damaged or is not a logbook of rides (%2). It was left as it is: move it "
                  "aside to start a new one, or choose another logbook.")
            .arg(file, m_detail);
    case Kind::Newer:
        return tr("The logbook %1 was written by a newer version of Pacerow (%2). It was left as it is: use "
                  "that version, or choose another logbook.")
            .arg(file, m_detail);
    case Kind::ReadOnly:
        return tr("The logbook %1 may not be changed: you have no permission to write the file or its folder. "
                  "Nothing was recorded; allow writing there, or choose another logbook.")
            .arg(file);
    case Kind::DiskFull:
        return tr("The logbook %1 could not be written: the disk is full or the file may not grow (%2). "
                  "Nothing was recorded; make room and try again.")
            .arg(file, m_detail);
    case Kind::Busy:
        return tr("The logbook %1 stayed busy with another program for too long. Nothing was recorded; try "
                  "again once the other program is done.")
            .arg(file);
    case Kind::NoSuchRide:
        return tr("The logbook %1 holds no ride numbered %2; its list shows the numbers of the rides it holds.")
            .arg(file, m_detail);
    case Kind::Gone:
        return tr("The logbook %1 was moved, replaced or deleted while it was open, and nothing more was written "
                  "to it. Open the logbook window again to see the logbook that is there now.")
            .arg(file);
    }
    return QString();
}
