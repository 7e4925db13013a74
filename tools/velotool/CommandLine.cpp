// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/velotool/CommandLine.h"

#include "tools/velotool/ClockCommand.h"
#include "tools/velotool/CommandParser.h"
#include "tools/velotool/Console.h"
#include "tools/velotool/ConvertCommand.h"
#include "tools/velotool/ExportCommand.h"
#include "tools/velotool/FirmwareCommand.h"
#include "tools/velotool/LogbookCommand.h"
#include "tools/velotool/OdometerCommand.h"
#include "tools/velotool/PortsCommand.h"
#include "tools/velotool/ReadCommand.h"
#include "tools/velotool/SimulateCommand.h"
#include "tools/velotool/UploadCommand.h"

QString CommandLine::helpText() const
{
    return tr("Usage: velotool COMMAND [options]\n"
              "\n"
              "Reads the day's rides off a Velquist bike computer and writes them as FIT files or CSV logs.\n"
              "\n"
              "Commands:\n"
              "  ports     %1\n"
              "  simulate  %2\n"
              "  read      %3\n"
              "  export    %4\n"
              "  clock     %5\n"
              "  odometer  %6\n"
              "  firmware  %7\n"
              "  convert   %8\n"
              "  upload    %9\n"
              "  logbook   %10\n"
              "\n"
              "Every command takes --help and --version; \"velotool COMMAND --help\" tells more.\n"
              "Progress goes to standard error (--quiet silences it), results to standard output.\n"
              "\n"
              "Example, without a bike computer:\n"
              "  velotool export --simulate \"Lumo 60\" ride.fit\n"
              "\n")
               .arg(PortsCommand::summary(), SimulateCommand::summary(), ReadCommand::summary(),
                    ExportCommand::summary(), ClockCommand::summary(), OdometerCommand::summary(),
                    FirmwareCommand::summary(), ConvertCommand::summary(), UploadCommand::summary())
               .arg(LogbookCommand::summary())
        + CommandParser::exitStatusHelp();
}

int CommandLine::run(const QStringList &arguments)
{
    const QStringList rest = arguments.mid(2);
    const QString command = arguments.value(1);
    if (command == QLatin1String("ports"))
        return PortsCommand(m_console).run(rest);
    if (command == QLatin1String("simulate"))
        return SimulateCommand(m_console).run(rest);
    if (command == QLatin1String("read"))
        return ReadCommand(m_console).run(rest);
    if (command == QLatin1String("export"))
        return ExportCommand(m_console).run(rest);
    if (command == QLatin1String("clock"))
        return ClockCommand(m_console).run(rest);
    if (command == QLatin1String("odometer"))
        return OdometerCommand(m_console).run(rest);
    if (command == QLatin1String("firmware"))
        return FirmwareCommand(m_console).run(rest);
    if (command == QLatin1String("convert"))
        return ConvertCommand(m_console).run(rest);
    if (command == QLatin1String("upload"))
        return UploadCommand(m_console).run(rest);
    if (command == QLatin1String("logbook"))
        return LogbookCommand(m_console).run(rest);

    if (command == QLatin1String("--help") || command == QLatin1String("-h") || command == QLatin1String("help")) {
        m_console.print(helpText());
        return int(ExitStatus::Success);
    }
    if (command == QLatin1String("--version")) {
        m_console.print(QCoreApplication::applicationName() + QLatin1Char(' ') + QCoreApplication::applicationVersion());
        return int(ExitStatus::Success);
    }
    const QString message = command.isEmpty()
        ? tr("Name a command: ports, simulate, read, export, clock, odometer, firmware, convert, upload or logbook. "
             "Try \"velotool --help\".")
        : tr("Unknown command \"%1\": use ports, simulate, read, export, clock, odometer, firmware, convert, upload or "
             "logbook. Try \"velotool --help\".")
              .arg(command);
    m_console.error(message);
    return int(ExitStatus::UsageError);
}
