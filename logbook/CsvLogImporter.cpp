// SPDX-License-Identifier: GPL-3.0-or-later
#include "logbook/CsvLogImporter.h"

#include "logbook/CsvLogLine.h"
#include "logbook/Logbook.h"
#include "logbook/RideRecorder.h"
#include "logbook/SqliteStatement.h"

#include <QIODevice>
#include <QStringDecoder>
#include <QVariant>

std::optional<LogbookError> CsvLogImporter::import(QIODevice &log, ImportOutcome &outcome)
{
    CsvLogLine reader;
    ImportOutcome counted;
    const std::optional<LogbookError> failure = m_logbook.change([&](QSqlDatabase &db) -> std::optional<LogbookError> {
        // Two statements a line: the ride goes in unless its bike, date and distance are there.
        // Asked apart, so that SQLite inserts straight into the table instead of through a
        // temporary one, as an insert that selects from its own table needs.
        SqliteStatement kept(db, QStringLiteral("SELECT 1 FROM rides WHERE day = ? AND bike = ? AND distance BETWEEN ? AND ?"));
        SqliteStatement insert(db, RideRecorder::insertStatement());
        for (const SqliteStatement *statement : {&kept, &insert})
            if (statement->error().isValid())
                return m_logbook.error(statement->error());
        const qsizetype valueCount = RideRecorder::insertValues(RideEntry(), QString()).size();
        QList<int> valuePositions;
        for (int at = 0; at < valueCount; ++at)
            valuePositions.append(insert.position(RideRecorder::insertMark(at).toUtf8().constData()));
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
            const qint64 distance = entry->value(RideValue::Distance);
            const qint64 tolerance = CsvLogLine::distanceTolerance(entry->unitSystem);
            const QVariantList values = RideRecorder::insertValues(*entry, time);
            kept.bind(1, values[1]);
            kept.bind(2, m_bike);
            kept.bind(3, distance - tolerance);
            kept.bind(4, distance + tolerance);
            if (!kept.run())
                return m_logbook.error(kept.error());
            if (kept.rowFound()) {
                ++counted.alreadyThere;
                continue;
            }
            for (int at = 0; at < values.size(); ++at)
                insert.bind(valuePositions[at], values[at]);
            if (!insert.run())
                return m_logbook.error(insert.error());
            ++counted.imported;
        }
        return std::nullopt;
    });
    // Counted only once committed: a failed import took nothing in.
    if (!failure)
        outcome = counted;
    return failure;
}
