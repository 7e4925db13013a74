// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/velotool/ExitStatus.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QString>

#include <optional>

class Console;
class ModelData;
class QCommandLineParser;

/// What read and export record into the logbook. A logbook that cannot be written never fails
/// the command: what it wrote stays written, and the logbook's failure is a warning beside it.
class RideLogging
{
    Q_DECLARE_TR_FUNCTIONS(RideLogging)

public:
    explicit RideLogging(Console &console) : m_console(console) {}

    /// Adds --logbook FILE and --no-logbook.
    static void addOptions(QCommandLineParser &parser);
    /// Takes the options; rides of the simulated bike computer go only into a logbook named with
    /// --logbook, never into the user's own. A usage error when both options are given.
    std::optional<ToolFailure> takeOptions(const QCommandLineParser &parser, bool simulated);

    /// The day's values of each bike that rode that day.
    void recordRead(const ModelData &record);
    /// The ride as exported, with its start.
    void recordExport(const ModelData &record, int bikeIndex, const QDateTime &start);

private:
    Console &m_console;
    QString m_path; // empty: nothing is recorded
};
