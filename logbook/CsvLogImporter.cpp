// SPDX-License-Identifier: GPL-3.0-or-later
#include "logbook/CsvLogImporter.h"

#include "logbook/CsvLogLine.h"
#include "logbook/Logbook.h"
#include "logbook/RideRecorder.h"
#include "logbook/SqliteStatement.h"

#include <QHash>
#include <QIODevice>
#include <QSqlQuery>
#include <QStringDecoder>
#include <QVarLengthArray>

#include <algorithm>

namespace {

// The distances of one bike's rides by day, as the logbook holds them while the import goes on:
// read once, rather than asked for each line of a log of many thousand.
class KeptDistances
{
public:
    bool read(QSqlDatabase &db, int bike, QSqlError &error)
    {
        QSqlQuery query(db);
        query.setForwardOnly(true);
        query.prepare(QStringLiteral("SELECT day, distance FROM rides WHERE bike = ?"));
        query.addBindValue(bike);
        if (!query.exec()) {
            error = query.lastError();
            return false;
        }
        while (query.next())
            of(query.value(0).toString()).append(query.value(1).toLongLong());
        return true;
    }

    using Distances = QVarLengthArray<qint64, 4>;

    /// Those of `day`, to look at and add to.
    Distances &of(const QString &day) { return m_days[day]; }

    static bool holds(const Distances &distances, qint64 shortest, qint64 longest)
    {
        return std::any_of(distances.cbegin(), distances.cend(),
                           [&](qint64 distance) { return distance >= shortest && distance <= longest; });
    }

private:
    QHash<QString, QVarLengthArray<qint64, 4>> m_days;
};

} // namespace

std::optional<LogbookError> CsvLogImporter::import(QIODevice &log, ImportOutcome &outcome)
{
    CsvLogLine reader;
    ImportOutcome counted;
    const std::optional<LogbookError> failure = m_logbook.change([&](QSqlDatabase &db) -> std::optional<LogbookError> {
        // A line's ride goes in unless its bike, date and distance are there already.
        KeptDistances kept;
        QSqlError readFailure;
        if (!kept.read(db, m_bike, readFailure))
            return m_logbook.error(readFailure);
        SqliteStatement insert(db, RideRecorder::insertStatement());
        if (insert.error().isValid())
            return m_logbook.error(insert.error());
        QVarLengthArray<int, 48> positions;
        RideRecorder::forEachInsertValue(RideEntry(), QString(), [&](const auto &) {
            positions.append(insert.position(RideRecorder::insertMark(int(positions.size())).toUtf8().constData()));
        });
        const QString time = RideRecorder::now();
        // The log is in the system's encoding, as the export writes it.
        QStringDecoder decode(QStringConverter::System);
        qint64 number = 0;
        while (!log.atEnd()) {
            QString line = decode(log.readLine());
            ++number;
            while (line.endsWith(QLatin1Char('\n')) || line.endsWith(QLatin1Char('\r')))
                line.chop(1);
            // The heading line is taken by its place, whatever its language.
            if (line.trimmed().isEmpty() || (number == 1 && !CsvLogLine::namesUnits(line)))
                continue;
            QString reason;
            std::optional<RideEntry> entry = reader.read(line, reason);
            if (!entry) {
                counted.refused.append({number, reason});
                continue;
            }
            entry->bike = m_bike;
            entry->model = m_model;
            KeptDistances::Distances &sameDay = kept.of(RideRecorder::dayText(entry->date));
            const qint64 distance = entry->value(RideValue::Distance);
            const qint64 tolerance = CsvLogLine::distanceTolerance(entry->unitSystem);
            if (KeptDistances::holds(sameDay, distance - tolerance, distance + tolerance)) {
                ++counted.alreadyThere;
                continue;
            }
            int at = 0;
            RideRecorder::forEachInsertValue(*entry, time, [&](const auto &value) { insert.bind(positions[at++], value); });
            if (!insert.run())
                return m_logbook.error(insert.error());
            sameDay.append(distance);
            ++counted.imported;
        }
        return std::nullopt;
    });
    // Counted only once committed: a failed import took nothing in.
    if (!failure)
        outcome = counted;
    return failure;
}
