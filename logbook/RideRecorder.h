// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "logbook/LogbookError.h"
#include "logbook/RideEntry.h"
#include "logbook/logbook_global.h"

#include <QDateTime>
#include <QString>
#include <QVariantList>

#include <optional>

class Logbook;
class ModelData;
class QSqlQuery;

/// Keeps what the programs read and export: one entry per device, bike and day, each change one
/// transaction.
class LOGBOOK_EXPORT RideRecorder
{
public:
    explicit RideRecorder(Logbook &logbook) : m_logbook(logbook) {}

    /// The day's values of each bike that rode that day (daily distance above zero). A read of
    /// a day already kept updates its entry as the day's totals grow; values the user corrected
    /// are kept until the device has more to tell.
    std::optional<LogbookError> recordRead(const ModelData &record);
    /// The ride of bike index `bikeIndex` as it was exported: its start and its values, marked as
    /// corrected when `edited`.
    std::optional<LogbookError> recordExport(const ModelData &exported, int bikeIndex, const QDateTime &start,
                                             bool edited);
    std::optional<LogbookError> setNote(qint64 id, const QString &note);
    std::optional<LogbookError> remove(qint64 id);

    /// The statement that adds an entry, only when `condition` holds if one is given (its
    /// placeholders follow those of the entry), and the entry's values bound with `time` as the
    /// time it was recorded: for whoever adds many in one transaction.
    static QString insertStatement(const QString &condition = QString());
    static void bindInsert(QSqlQuery &query, const RideEntry &entry, const QString &time);
    /// What bindInsert() binds, in the order of the statement's placeholders, named by insertMark().
    static QVariantList insertValues(const RideEntry &entry, const QString &time);
    static QString insertMark(int position);
    /// The present time as the logbook keeps it.
    static QString now();

    /// A start as the logbook keeps it: ISO 8601 with its offset from UTC.
    static QString startText(const QDateTime &start);

private:
    enum class Kind { Read, Export };
    std::optional<LogbookError> keep(const RideEntry &entry, Kind kind);
    std::optional<LogbookError> changeOne(const QString &statement, const QVariantList &values, qint64 id);

    Logbook &m_logbook;
};
