// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "logbook/LogbookError.h"
#include "logbook/RideEntry.h"
#include "logbook/logbook_global.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QVariant>

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
    /// Removes the rides of `ids` in one transaction: all of them, or none when one is missing.
    std::optional<LogbookError> remove(const QList<qint64> &ids);
    /// Puts removed rides back as they were, in one transaction: ids, values, notes and times.
    /// A ride recorded again since (the same device, bike and day, or for an imported ride the
    /// same bike, day and distance) stays as it is now, and the removed one moves from `rides` to
    /// `leftOut`; a removed ride whose id another ride took since comes back under a new id, set
    /// in `rides`.
    std::optional<LogbookError> restore(QList<RideEntry> &rides, QList<RideEntry> &leftOut);

    /// The statement that adds an entry. Its placeholders are named by insertMark(), in the order
    /// forEachInsertValue() hands out their values.
    static QString insertStatement();
    static QString insertMark(int position);
    /// Binds the values of `entry` to insertStatement(), with `time` as the time it was recorded.
    static void bindInsert(QSqlQuery &query, const RideEntry &entry, const QString &time);
    /// Hands `bind` each value bindInsert() binds, as a QString (a null one for NULL), an int, a
    /// qint64 or a QVariant: for whoever adds many in one transaction without Qt SQL's binding.
    template <typename Bind>
    static void forEachInsertValue(const RideEntry &entry, const QString &time, Bind &&bind);
    /// A day as the logbook keeps it: ISO 8601.
    static QString dayText(const QDate &date);
    /// A text to bind where NULL is not allowed: a null QString binds as NULL.
    static QString notNull(const QString &text);
    /// The present time as the logbook keeps it.
    static QString now();

    /// A start as the logbook keeps it: ISO 8601 with its offset from UTC.
    static QString startText(const QDateTime &start);

private:
    enum class Kind { Read, Export };
    std::optional<LogbookError> keep(const RideEntry &entry, Kind kind);
    std::optional<LogbookError> changeOne(const QString &statement, const QVariantList &values, qint64 id);
    std::optional<LogbookError> removeOne(QSqlQuery &query, qint64 id);
    std::optional<LogbookError> restoreOne(QSqlQuery &query, RideEntry &ride, bool &restored);

    Logbook &m_logbook;
};

template <typename Bind>
void RideRecorder::forEachInsertValue(const RideEntry &entry, const QString &time, Bind &&bind)
{
    const auto nullIfEmpty = [](const QString &text) { return text.isEmpty() ? QString() : text; };
    bind(nullIfEmpty(entry.device));
    bind(dayText(entry.date));
    bind(entry.bike);
    bind(nullIfEmpty(entry.model));
    bind(entry.start.isValid() ? startText(entry.start) : QString());
    for (qint64 value : entry.values)
        bind(value);
    bind(int(entry.hasAltitude));
    bind(entry.unitSystem);
    bind(entry.odometer ? QVariant(qint64(*entry.odometer)) : QVariant());
    bind(entry.source == RideEntry::Source::Csv ? QStringLiteral("csv") : QStringLiteral("device"));
    bind(int(entry.edited));
    // A null QString is bound as NULL, which a note never is.
    bind(entry.note.isNull() ? QStringLiteral("") : entry.note);
    bind(time);
    bind(time);
}
