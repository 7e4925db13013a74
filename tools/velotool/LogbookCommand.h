// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/velotool/ExitStatus.h"

#include <QCommandLineOption>
#include <QCoreApplication>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class CommandParser;
class Console;
class Logbook;
class RideRecorder;
class LogbookError;

/// velotool logbook: lists the rides kept, sums them by period, writes one again, imports CSV
/// logs, notes, removes, and copies the logbook.
class LogbookCommand
{
    Q_DECLARE_TR_FUNCTIONS(LogbookCommand)

public:
    explicit LogbookCommand(Console &console) : m_console(console) {}

    int run(const QStringList &arguments);

    static QString summary();
    /// --logbook FILE, which read and export take as well.
    static QCommandLineOption fileOption();
    /// The status and line of a logbook that failed.
    static ToolFailure failure(const LogbookError &error);

private:
    int list(const QStringList &arguments);
    int totals(const QStringList &arguments);
    int exportRide(const QStringList &arguments);
    int import(const QStringList &arguments);
    int note(const QStringList &arguments);
    int remove(const QStringList &arguments);
    int backup(const QStringList &arguments);
    int overview(const QStringList &arguments);

    /// The parser of a subcommand, with --logbook.
    std::unique_ptr<CommandParser> parser(const QString &subcommand, const QString &synopsis, const QString &description);
    /// Opens the logbook named with --logbook, or the user's own.
    std::optional<ToolFailure> open(const CommandParser &command, std::unique_ptr<Logbook> &logbook);
    std::optional<ToolFailure> bikeOption(const CommandParser &command, const QCommandLineOption &option, int &bike);
    std::optional<ToolFailure> rideId(const CommandParser &command, qint64 &id);
    int fail(const ToolFailure &failure);

    using RideChange = std::function<std::optional<LogbookError>(RideRecorder &recorder, qint64 id)>;
    /// Parses a command that takes a ride's ID first, makes the change and says `done` of the ride.
    int changeRide(CommandParser &command, const QStringList &arguments, int positionals,
                   const QString &missingArguments, const RideChange &change, const QString &done);

    Console &m_console;
};
