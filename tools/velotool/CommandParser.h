// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/velotool/ExitStatus.h"

#include <QCommandLineOption>
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QString>
#include <QStringList>

#include <memory>
#include <optional>

class Console;
class WireLogFile;

/// The option parser of one command, with what every command offers: --help, --version,
/// --quiet and --verbose, a help text that lists the exit statuses, and usage errors that
/// point to the help.
class CommandParser
{
    Q_DECLARE_TR_FUNCTIONS(CommandParser)

public:
    /// `command` is the word after velotool ("read"); `synopsis` the usage line without "Usage:".
    CommandParser(const QString &command, const QString &synopsis, const QString &description);
    /// Puts the transfer log, if one was asked for, in place.
    ~CommandParser();

    /// Adds --log FILE, which commands that talk to a device offer: parse() then starts the
    /// device link's transfer log in FILE, and the parser puts the file in place when it goes,
    /// so it must outlive the connection.
    void addLogOption();

    QCommandLineParser &parser() { return m_parser; }
    const QCommandLineParser &parser() const { return m_parser; }

    /// Parses the arguments that follow the command word. Returns a status when the command is
    /// over already: help or version printed (Success), or a usage error reported.
    std::optional<ExitStatus> parse(const QStringList &arguments, Console &console);

    /// A usage error of this command: the message and where to find help.
    ToolFailure usageError(const QString &message) const;
    /// Fails unless exactly `count` positional arguments were given.
    std::optional<ToolFailure> expectPositional(int count, const QString &missingMessage) const;

    QString helpText() const;

    /// The exit statuses, as every help text lists them.
    static QString exitStatusHelp();

private:
    std::optional<ExitStatus> startLog(Console &console);

    QString m_command;
    QString m_synopsis;
    QCommandLineParser m_parser;
    QCommandLineOption m_help;
    QCommandLineOption m_version;
    QCommandLineOption m_quiet;
    QCommandLineOption m_verbose;
    QCommandLineOption m_log;
    QCommandLineOption m_systemRoot;
    bool m_logOffered = false;
    std::unique_ptr<WireLogFile> m_logFile;
    Console *m_console = nullptr; // set by parse()
};
