// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "logbook/CsvLogImporter.h"
#include "logbook/LogbookError.h"

#include <QCoreApplication>
#include <QList>
#include <QString>
#include <QStringList>

/// What an import of CSV logs did, file by file, in the words the user is shown once it is over.
class ImportReport
{
    Q_DECLARE_TR_FUNCTIONS(ImportReport)

public:
    /// How many refused lines the short account names; the details name them all.
    static constexpr int ShownRefusals = 10;

    void imported(const QString &path, const ImportOutcome &outcome);
    void unreadable(const QString &path, const QString &reason);
    void failed(const QString &path, const LogbookError &error);

    /// Whether anything was not taken: a refused line, a log not read, a logbook that failed.
    bool hasTrouble() const { return m_trouble; }
    /// Whether rides came into the logbook.
    bool tookRides() const { return m_tookRides; }

    /// A line per log: its counts, or why it was not read.
    QString summary() const { return m_summary.join(QLatin1Char('\n')); }
    /// The first refused lines with their numbers and reasons, or nothing.
    QString refusals() const;
    /// Every refused line, when there are more than the short account names.
    QString details() const;

private:
    QStringList m_summary;
    QStringList m_refused;
    bool m_trouble = false;
    bool m_tookRides = false;
};
