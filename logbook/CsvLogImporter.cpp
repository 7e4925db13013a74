// SPDX-License-Identifier: GPL-3.0-or-later
#include "logbook/CsvLogImporter.h"

#include "logbook/CsvLogLine.h"
#include "logbook/Logbook.h"
#include "logbook/RideRecorder.h"

#include <QIODevice>
#include <QSqlQuery>
#include <QStringDecoder>
#include <QVariant>

std::optional<LogbookError> CsvLogImporter::import(QIODevice &log, ImportOutcome &outcome)
{
    CsvLogLine reader;
    ImportOutcome counted;
    const std::optional<LogbookError> failure = m_logbook.change([&](QSqlDatabase &db) -> std::optional<LogbookError> {
        // One statement a line: the ride goes in unless its bike, date and distance are there.
        QSqlQuery insert(db);
        insert.prepare(RideRecorder::insertStatement(QStringLiteral(
            "NOT EXISTS (SELECT 1 FROM rides WHERE day = :day AND bike = :bike AND distance BETWEEN :shortest AND "
            ":longest)")));
        const QString day = QStringLiteral(":day");
        const QString bike = QStringLiteral(":bike");
        const QString shortest = QStringLiteral(":shortest");
        const QString longest = QStringLiteral(":longest");
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
            RideRecorder::bindInsert(insert, *entry, time);
            insert.bindValue(day, entry->date.toString(Qt::ISODate));
            insert.bindValue(bike, m_bike);
            insert.bindValue(shortest, distance - tolerance);
            insert.bindValue(longest, distance + tolerance);
            if (!insert.exec())
                return m_logbook.error(insert.lastError());
            if (insert.numRowsAffected() > 0)
                ++counted.imported;
            else
                ++counted.alreadyThere;
        }
        return std::nullopt;
    });
    // Counted only once committed: a failed import took nothing in.
    if (!failure)
        outcome = counted;
    return failure;
}
