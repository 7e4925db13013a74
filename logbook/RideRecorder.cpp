// SPDX-License-Identifier: GPL-3.0-or-later
#include "logbook/RideRecorder.h"

#include "logbook/Logbook.h"

#include "linkhub/ModelData.h"

#include <QSqlQuery>
#include <QStringList>
#include <QVariant>

namespace {

QStringList valueColumns()
{
    QStringList names;
    for (int i = 0; i < RideValueCount; ++i)
        names << QLatin1String(RideEntry::columnName(RideValue(i)));
    return names;
}

QVariant odometer(const RideEntry &entry)
{
    return entry.odometer ? QVariant(qint64(*entry.odometer)) : QVariant();
}

QVariant nullable(const QString &text)
{
    return text.isEmpty() ? QVariant() : QVariant(text);
}

// In the order forEachInsertValue() hands out their values.
QStringList insertColumns()
{
    return QStringList{QStringLiteral("device"), QStringLiteral("day"), QStringLiteral("bike"), QStringLiteral("model"),
                       QStringLiteral("start")}
        + valueColumns()
        + QStringList{QStringLiteral("has_altitude"), QStringLiteral("unit_system"), QStringLiteral("odometer"),
                      QStringLiteral("source"), QStringLiteral("edited"), QStringLiteral("note"),
                      QStringLiteral("recorded_at"), QStringLiteral("changed_at")};
}

// The placeholders of insertColumns(), by name.
const QStringList &insertMarks()
{
    static const QStringList marks = [] {
        QStringList names;
        for (qsizetype i = 0; i < insertColumns().size(); ++i)
            names << QStringLiteral(":v%1").arg(i);
        return names;
    }();
    return marks;
}

// The years for which the logbook's texts are written here rather than by QDate::toString(),
// which an import of many rides spends much of its time in; the same characters either way.
bool plainYear(const QDate &date)
{
    return date.year() >= 1 && date.year() <= 9999;
}

QChar *digits(QChar *at, int value, int width)
{
    for (int i = width - 1; i >= 0; --i, value /= 10)
        at[i] = QChar(u'0' + value % 10);
    return at + width;
}

// yyyy-MM-dd, of a plainYear().
QChar *isoDate(QChar *at, const QDate &date)
{
    at = digits(at, date.year(), 4);
    *at++ = u'-';
    at = digits(at, date.month(), 2);
    *at++ = u'-';
    return digits(at, date.day(), 2);
}

} // namespace

QString RideRecorder::notNull(const QString &text)
{
    return text.isNull() ? QStringLiteral("") : text;
}

QString RideRecorder::dayText(const QDate &date)
{
    if (!plainYear(date))
        return date.toString(Qt::ISODate);
    QString text(10, Qt::Uninitialized);
    isoDate(text.data(), date);
    return text;
}

namespace {

// Updates the values of an entry; the statement's placeholders are those of bindValues().
QString updateStatement(bool withStart)
{
    QStringList sets{QStringLiteral("model = ?")};
    for (const QString &column : valueColumns())
        sets << column + QStringLiteral(" = ?");
    sets << QStringLiteral("has_altitude = ?") << QStringLiteral("unit_system = ?") << QStringLiteral("odometer = ?");
    if (withStart)
        sets << QStringLiteral("start = ?") << QStringLiteral("edited = ?");
    sets << QStringLiteral("changed_at = ?");
    return QStringLiteral("UPDATE rides SET %1 WHERE id = ?").arg(sets.join(QStringLiteral(", ")));
}

void bindValues(QSqlQuery &query, const RideEntry &entry)
{
    query.addBindValue(nullable(entry.model));
    for (qint64 value : entry.values)
        query.addBindValue(value);
    query.addBindValue(int(entry.hasAltitude));
    query.addBindValue(entry.unitSystem);
    query.addBindValue(odometer(entry));
}

} // namespace

QString RideRecorder::startText(const QDateTime &start)
{
    // Always as an offset, "+00:00" included, never "Z", so that readers find the same form.
    const int offset = start.offsetFromUtc();
    const int minutes = qAbs(offset) / 60;
    const QDate date = start.date();
    if (!plainYear(date))
        return start.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss"))
            + QStringLiteral("%1%2:%3")
                  .arg(offset < 0 ? QLatin1Char('-') : QLatin1Char('+'))
                  .arg(minutes / 60, 2, 10, QLatin1Char('0'))
                  .arg(minutes % 60, 2, 10, QLatin1Char('0'));
    const QTime time = start.time();
    QString text(25, Qt::Uninitialized);
    QChar *at = isoDate(text.data(), date);
    *at++ = u'T';
    for (int part : {time.hour(), time.minute(), time.second()}) {
        at = digits(at, part, 2);
        *at++ = u':';
    }
    at[-1] = offset < 0 ? u'-' : u'+';
    at = digits(at, minutes / 60, 2);
    *at++ = u':';
    digits(at, minutes % 60, 2);
    return text;
}

QString RideRecorder::now()
{
    return QDateTime::currentDateTimeUtc().toString(Qt::ISODate);
}

QString RideRecorder::insertStatement()
{
    return QStringLiteral("INSERT INTO rides (%1) VALUES (%2)")
        .arg(insertColumns().join(QStringLiteral(", ")), insertMarks().join(QStringLiteral(", ")));
}

QString RideRecorder::insertMark(int position)
{
    return insertMarks()[position];
}

void RideRecorder::bindInsert(QSqlQuery &query, const RideEntry &entry, const QString &time)
{
    // By name: Qt spells out a name for each value bound by position, which an import of many
    // rides would spend most of its time on.
    int at = 0;
    forEachInsertValue(entry, time, [&](const auto &value) { query.bindValue(insertMark(at++), QVariant(value)); });
}

std::optional<LogbookError> RideRecorder::recordRead(const ModelData &record)
{
    if (!record.deviceModel)
        return std::nullopt;
    return m_logbook.change([&](QSqlDatabase &) -> std::optional<LogbookError> {
        for (int bike = 0; bike < 2; ++bike) {
            if (record.bikes[bike].dailyDistance == 0)
                continue;
            if (auto failure = keep(RideEntry::fromRecord(record, bike), Kind::Read))
                return failure;
        }
        return std::nullopt;
    });
}

std::optional<LogbookError> RideRecorder::recordExport(const ModelData &exported, int bikeIndex,
                                                       const QDateTime &start, bool edited)
{
    if (!exported.deviceModel || bikeIndex < 0 || bikeIndex > 1)
        return std::nullopt;
    RideEntry entry = RideEntry::fromRecord(exported, bikeIndex);
    entry.start = start;
    entry.edited = edited;
    return m_logbook.change([&](QSqlDatabase &) { return keep(entry, Kind::Export); });
}

std::optional<LogbookError> RideRecorder::keep(const RideEntry &entry, Kind kind)
{
    QSqlQuery query(m_logbook.database());
    query.prepare(QStringLiteral("SELECT id, distance, edited FROM rides WHERE device = ? AND bike = ? AND day = ?"));
    query.addBindValue(entry.device);
    query.addBindValue(entry.bike);
    query.addBindValue(entry.date.toString(Qt::ISODate));
    if (!query.exec())
        return m_logbook.error(query.lastError());
    if (!query.next()) {
        query.prepare(insertStatement());
        bindInsert(query, entry, now());
        return query.exec() ? std::nullopt : std::optional<LogbookError>(m_logbook.error(query.lastError()));
    }
    const qint64 id = query.value(0).toLongLong();
    const qint64 kept = query.value(1).toLongLong();
    const bool corrected = query.value(2).toBool();
    const qint64 distance = entry.value(RideValue::Distance);
    if (kind == Kind::Read && (distance < kept || (distance == kept && corrected)))
        return std::nullopt;
    query.prepare(updateStatement(kind == Kind::Export));
    bindValues(query, entry);
    if (kind == Kind::Export) {
        query.addBindValue(startText(entry.start));
        query.addBindValue(int(entry.edited));
    }
    query.addBindValue(now());
    query.addBindValue(id);
    return query.exec() ? std::nullopt : std::optional<LogbookError>(m_logbook.error(query.lastError()));
}

std::optional<LogbookError> RideRecorder::changeOne(const QString &statement, const QVariantList &values, qint64 id)
{
    return m_logbook.change([&](QSqlDatabase &db) -> std::optional<LogbookError> {
        QSqlQuery query(db);
        query.prepare(statement);
        for (const QVariant &value : values)
            query.addBindValue(value);
        query.addBindValue(id);
        if (!query.exec())
            return m_logbook.error(query.lastError());
        if (query.numRowsAffected() == 0)
            return LogbookError(LogbookError::Kind::NoSuchRide, m_logbook.path(), QString::number(id));
        return std::nullopt;
    });
}

std::optional<LogbookError> RideRecorder::setNote(qint64 id, const QString &note)
{
    return changeOne(QStringLiteral("UPDATE rides SET note = ?, changed_at = ? WHERE id = ?"), {notNull(note), now()}, id);
}

std::optional<LogbookError> RideRecorder::remove(qint64 id)
{
    return changeOne(QStringLiteral("DELETE FROM rides WHERE id = ?"), {}, id);
}

std::optional<LogbookError> RideRecorder::remove(const QList<qint64> &ids)
{
    return m_logbook.change([&](QSqlDatabase &db) -> std::optional<LogbookError> {
        QSqlQuery query(db);
        query.prepare(QStringLiteral("DELETE FROM rides WHERE id = ?"));
        for (qint64 id : ids)
            if (auto problem = removeOne(query, id))
                return problem;
        return std::nullopt;
    });
}

std::optional<LogbookError> RideRecorder::removeOne(QSqlQuery &query, qint64 id)
{
    query.bindValue(0, id);
    if (!query.exec())
        return m_logbook.error(query.lastError());
    if (query.numRowsAffected() == 0)
        return LogbookError(LogbookError::Kind::NoSuchRide, m_logbook.path(), QString::number(id));
    return std::nullopt;
}

std::optional<LogbookError> RideRecorder::restore(QList<RideEntry> &rides, QList<RideEntry> &leftOut)
{
    QList<RideEntry> back;
    QList<RideEntry> notBack;
    const std::optional<LogbookError> failure = m_logbook.change([&](QSqlDatabase &db) -> std::optional<LogbookError> {
        QSqlQuery query(db);
        for (RideEntry ride : rides) {
            bool restored = false;
            if (auto problem = restoreOne(query, ride, restored))
                return problem;
            (restored ? back : notBack).append(ride);
        }
        return std::nullopt;
    });
    // Told only once committed: a failed restore put nothing back.
    if (!failure) {
        rides = back;
        leftOut = notBack;
    }
    return failure;
}

namespace {

// A ride as it was, id and times included; a null id gets a new one.
QString restoreStatement()
{
    return QStringLiteral("INSERT INTO rides (id, %1) VALUES (:id, %2)")
        .arg(insertColumns().join(QStringLiteral(", ")), insertMarks().join(QStringLiteral(", ")));
}

QString timeText(const QDateTime &time)
{
    return time.isValid() ? time.toUTC().toString(Qt::ISODate) : RideRecorder::now();
}

qint64 count(QSqlQuery &query)
{
    return query.exec() && query.next() ? query.value(0).toLongLong() : -1;
}

} // namespace

std::optional<LogbookError> RideRecorder::restoreOne(QSqlQuery &query, RideEntry &ride, bool &restored)
{
    // What was recorded since wins: it is newer than the removed ride.
    if (ride.device.isEmpty()) {
        query.prepare(QStringLiteral("SELECT count(*) FROM rides WHERE device IS NULL AND bike = ? AND day = ? AND %1 = ?")
                          .arg(QLatin1String(RideEntry::columnName(RideValue::Distance))));
        query.addBindValue(ride.bike);
        query.addBindValue(dayText(ride.date));
        query.addBindValue(ride.value(RideValue::Distance));
    } else {
        query.prepare(QStringLiteral("SELECT count(*) FROM rides WHERE device = ? AND bike = ? AND day = ?"));
        query.addBindValue(ride.device);
        query.addBindValue(ride.bike);
        query.addBindValue(dayText(ride.date));
    }
    const qint64 newer = count(query);
    if (newer < 0)
        return m_logbook.error(query.lastError());
    restored = newer == 0;
    if (!restored)
        return std::nullopt;
    query.prepare(QStringLiteral("SELECT count(*) FROM rides WHERE id = ?"));
    query.addBindValue(ride.id);
    const qint64 idTaken = count(query);
    if (idTaken < 0)
        return m_logbook.error(query.lastError());
    query.prepare(restoreStatement());
    bindInsert(query, ride, QString());
    const int marks = int(insertMarks().size());
    query.bindValue(insertMark(marks - 2), timeText(ride.recordedAt));
    query.bindValue(insertMark(marks - 1), timeText(ride.changedAt));
    query.bindValue(QStringLiteral(":id"), idTaken > 0 ? QVariant() : QVariant(ride.id));
    if (!query.exec())
        return m_logbook.error(query.lastError());
    ride.id = query.lastInsertId().toLongLong();
    return std::nullopt;
}
