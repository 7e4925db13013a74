// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "logbook/LogbookError.h"
#include "logbook/logbook_global.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

#include <optional>

class Logbook;
class QIODevice;

/// A line of a log that was not taken, and why.
struct RefusedLine
{
    qint64 line = 0; ///< counted from 1
    QString reason;
};

/// What an import did.
struct ImportOutcome
{
    qint64 imported = 0;
    qint64 alreadyThere = 0; ///< lines whose bike, date and distance the logbook holds already
    QList<RefusedLine> refused;
};

/// Brings the rides of a CSV log the product wrote into the logbook. The log names neither bike
/// nor model: the importer is told them.
class LOGBOOK_EXPORT CsvLogImporter
{
    Q_DECLARE_TR_FUNCTIONS(CsvLogImporter)

public:
    /// `bike` 1 or 2; `model` a catalogue name, or empty when not known.
    CsvLogImporter(Logbook &logbook, int bike, const QString &model)
        : m_logbook(logbook), m_bike(bike), m_model(model)
    {
    }

    /// Reads the log from `log`, opened for reading, to its end. Its good lines go in as one
    /// transaction: a logbook failure leaves none of them in, and `outcome` untouched.
    std::optional<LogbookError> import(QIODevice &log, ImportOutcome &outcome);

private:
    Logbook &m_logbook;
    int m_bike;
    QString m_model;
};
