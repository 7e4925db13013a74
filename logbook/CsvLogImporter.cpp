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
    const CsvLogLine reader;
    ImportOutcome counted;
    const std::optional<LogbookError> failure = m_logbook.change([&](QSqlDatabase &db) -> std::optional<LogbookError> {
        QSqlQuery known(db);
        known.prepare(QStringLiteral("SELECT 1 FROM rides WHERE day = ? AND bike = ? AND distance BETWEEN ? AND ? LIMIT 1"));
        QSqlQuery insert(db);
        insert.prepare(RideRecorder::insertStatement());
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
            known.bindValue(0, entry->date.toString(Qt::ISODate));
            known.bindValue(1, m_bike);
            known.bindValue(2, distance - tolerance);
            known.bindValue(3, distance + tolerance);
            if (!known.exec())
                return m_logbook.error(known.lastError());
            const bool alreadyThere = known.next();
            known.finish();
            if (alreadyThere) {
                ++counted.alreadyThere;
                continue;
            }
            RideRecorder::bindInsert(insert, *entry);
            if (!insert.exec())
                return m_logbook.error(insert.lastError());
            ++counted.imported;
        }
        return std::nullopt;
    });
    // Counted only once committed: a failed import took nothing in.
    if (!failure)
        outcome = counted;
    return failure;
}
