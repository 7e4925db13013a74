// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "logbook/Logbook.h"
#include "logbook/RideEntry.h"
#include "logbook/RideRecorder.h"

#include <QSqlQuery>
#include <QTemporaryDir>

/// A logbook in a temporary folder, filled with the rides a test names.
class LogbookFiller
{
public:
    LogbookFiller() : m_logbook(m_folder.filePath(QStringLiteral("logbook.sqlite"))) { m_opened = !m_logbook.open(); }

    bool isOpen() const { return m_opened; }
    Logbook &logbook() { return m_logbook; }
    QString path() const { return m_logbook.path(); }

    /// A ride of the simulated device's model, with the figures most views show.
    static RideEntry ride(const QDate &date, int bike, double kilometres, qint64 rideSeconds = 3600,
                          const QString &note = QString())
    {
        RideEntry entry;
        entry.device = QStringLiteral("Lumo 60");
        entry.model = QStringLiteral("Lumo 60");
        entry.date = date;
        entry.bike = bike;
        entry.setValue(RideValue::Distance, qint64(kilometres * 1000000.0 + 0.5));
        entry.setValue(RideValue::RideTime, rideSeconds);
        entry.setValue(RideValue::AvgSpeed, rideSeconds > 0 ? qint64(kilometres * 36000.0 / rideSeconds) : 0);
        entry.note = note;
        return entry;
    }

    /// Adds `rides` in one transaction; false when the logbook refused them.
    bool add(const QList<RideEntry> &rides)
    {
        return !m_logbook.change([&](QSqlDatabase &db) -> std::optional<LogbookError> {
            QSqlQuery query(db);
            query.prepare(RideRecorder::insertStatement());
            for (const RideEntry &entry : rides) {
                RideRecorder::bindInsert(query, entry, RideRecorder::now());
                if (!query.exec())
                    return m_logbook.error(query.lastError());
            }
            return std::nullopt;
        });
    }

private:
    QTemporaryDir m_folder;
    Logbook m_logbook;
    bool m_opened = false;
};
