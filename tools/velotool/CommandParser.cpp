// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/velotool/CommandParser.h"

#include "tools/velotool/Console.h"
#include "tools/velotool/LinkDiagnostics.h"

#include "linkhub/SystemFiles.h"
#include "linkhub/WireLogFile.h"

#include <QDir>

CommandParser::CommandParser(const QString &command, const QString &synopsis, const QString &description)
    : m_command(command),
      m_synopsis(synopsis),
      m_help({QStringLiteral("h"), QStringLiteral("help")}, tr("Shows this help.")),
      m_version(QStringLiteral("version"), tr("Shows the version.")),
      m_quiet({QStringLiteral("q"), QStringLiteral("quiet")}, tr("Prints no progress on standard error.")),
      m_verbose(QStringLiteral("verbose"), tr("Also prints the device link's own diagnostics.")),
      m_log(QStringLiteral("log"),
            tr("Writes every frame exchanged with the device, with times and line speeds, to FILE "
               "(attach it to a bug report)."),
            tr("FILE")),
      m_systemRoot(QStringLiteral("system-root"), tr("Reads the system's device files under DIR."), tr("DIR"))
{
    m_parser.setApplicationDescription(description);
    m_parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    m_parser.addOption(m_help);
    m_parser.addOption(m_version);
    m_parser.addOption(m_quiet);
    m_parser.addOption(m_verbose);
    // For diagnosing from a copy of another system's device files (sysfs, device nodes, udev
    // rules), and for the tests, which make such trees up; not for everyday use, so not in the help.
    m_systemRoot.setFlags(QCommandLineOption::HiddenFromHelp);
    m_parser.addOption(m_systemRoot);
}

CommandParser::~CommandParser()
{
    if (m_logFile && !m_logFile->commit() && m_console)
        m_console->error(tr("The transfer log %1 could not be written: %2.")
                             .arg(QDir::toNativeSeparators(m_logFile->path()), m_logFile->errorString()));
}

void CommandParser::addLogOption()
{
    m_parser.addOption(m_log);
    m_logOffered = true;
}

std::optional<ExitStatus> CommandParser::startLog(Console &console)
{
    const QString path = m_parser.value(m_log);
    m_logFile = std::make_unique<WireLogFile>(path);
    if (m_logFile->open())
        return std::nullopt;
    console.error(tr("The transfer log %1 cannot be written: %2. Choose a file in a folder you may write to.")
                      .arg(QDir::toNativeSeparators(path), m_logFile->errorString()));
    m_logFile.reset();
    return ExitStatus::OutputUnwritable;
}

std::optional<ExitStatus> CommandParser::parse(const QStringList &arguments, Console &console)
{
    // The parser skips the first entry as the program name.
    if (!m_parser.parse(QStringList{QCoreApplication::applicationName()} + arguments)) {
        const ToolFailure failure = usageError(m_parser.errorText());
        console.error(failure.message);
        return failure.status;
    }
    if (m_parser.isSet(m_help)) {
        console.print(helpText());
        return ExitStatus::Success;
    }
    if (m_parser.isSet(m_version)) {
        console.print(QCoreApplication::applicationName() + QLatin1Char(' ') + QCoreApplication::applicationVersion());
        return ExitStatus::Success;
    }
    m_console = &console;
    if (m_parser.isSet(m_systemRoot))
        SystemFiles::setCurrent(SystemFiles(QDir(m_parser.value(m_systemRoot)).absolutePath()));
    console.setQuiet(m_parser.isSet(m_quiet));
    LinkDiagnostics::setShown(m_parser.isSet(m_verbose));
    if (m_logOffered && m_parser.isSet(m_log))
        return startLog(console);
    return std::nullopt;
}

ToolFailure CommandParser::usageError(const QString &message) const
{
    const QString help = m_command.isEmpty() ? QStringLiteral("velotool --help")
                                             : QStringLiteral("velotool %1 --help").arg(m_command);
    return {ExitStatus::UsageError, tr("%1 Try \"%2\".").arg(message, help)};
}

std::optional<ToolFailure> CommandParser::expectPositional(int count, const QString &missingMessage) const
{
    const QStringList given = m_parser.positionalArguments();
    if (given.size() < count)
        return usageError(missingMessage);
    if (given.size() > count)
        return usageError(tr("Unexpected argument \"%1\".").arg(given.at(count)));
    return std::nullopt;
}

QString CommandParser::helpText() const
{
    QString text = m_parser.helpText();
    // Qt's first line names the program by its path and lists no command; ours is clearer.
    const qsizetype firstLineEnd = text.indexOf(QLatin1Char('\n'));
    text.replace(0, firstLineEnd, tr("Usage: %1").arg(m_synopsis));
    return text + QLatin1Char('\n') + exitStatusHelp();
}

QString CommandParser::exitStatusHelp()
{
    return tr("Exit statuses:\n"
              "  0    success\n"
              "  2    usage error (unknown command or option, missing or bad argument)\n"
              "  3    the port cannot be opened (missing, no permission, in use, not a serial port)\n"
              "  4    the device is silent or was lost, or did not deliver every value in time\n"
              "  5    unknown or unsupported model\n"
              "  6    firmware below the lowest version accepted for the model\n"
              "  7    the output cannot be written\n"
              "  8    no serial port behind a supported USB bridge was found\n"
              "  9    the simulated bike computer cannot be started\n"
              "  10   the input file (a raw ride record, a firmware image) cannot be read or is not what the command takes\n"
              "  11   the portal refused the upload (its HTTP status is named)\n"
              "  12   the portal cannot be reached, its certificate is not trusted, or it did not answer in time\n"
              "  13   the logbook cannot be opened or written (damaged, newer version, no permission, still busy after "
              "the wait)\n"
              "  130  interrupted (Ctrl-C)\n");
}
