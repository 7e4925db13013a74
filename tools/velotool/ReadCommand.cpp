// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/velotool/ReadCommand.h"

#include "linkhub/ModelData.h"
#include "tools/velotool/CommandParser.h"
#include "tools/velotool/Console.h"
#include "tools/velotool/DeviceReader.h"
#include "tools/velotool/ReportPrinter.h"
#include "tools/velotool/RideLogging.h"
#include "tools/velotool/RideReport.h"

QString ReadCommand::summary()
{
    return tr("Reads the day's values of a bike computer and prints them in the device's units.");
}

int ReadCommand::run(const QStringList &arguments)
{
    CommandParser command(QStringLiteral("read"),
                          QStringLiteral("velotool read (--port NAME | --simulate MODEL) [--json] [options]"),
                          summary() + QLatin1Char('\n')
                              + tr("Only the Lumo 20, 40, 50 and 60 are read, each with at least its lowest accepted "
                                   "firmware. The session with the device is closed politely afterwards."));
    QCommandLineParser &parser = command.parser();
    DeviceReader::addOptions(parser);
    command.addLogOption();
    RideLogging::addOptions(parser);
    const QCommandLineOption jsonOption(QStringLiteral("json"), tr("Prints the values as one JSON object."));
    parser.addOption(jsonOption);
    if (const auto status = command.parse(arguments, m_console))
        return int(*status);

    DeviceReader reader(m_console);
    RideLogging logging(m_console);
    std::optional<ToolFailure> failure = command.expectPositional(0, QString());
    if (!failure) {
        failure = reader.takeOptions(parser);
        if (!failure)
            failure = logging.takeOptions(parser, reader.simulatedModel().has_value());
        if (failure)
            failure = command.usageError(failure->message);
    }
    if (!failure) {
        const ToolFailure outcome = reader.read();
        if (outcome.status != ExitStatus::Success)
            failure = outcome;
    }
    if (failure) {
        m_console.error(failure->message);
        return int(failure->status);
    }

    logging.recordRead(*reader.record());
    const RideReport report = RideReport::ofDevice(*reader.record());
    m_console.print(parser.isSet(jsonOption) ? ReportPrinter::toJson(report) : ReportPrinter::toText(report));
    return int(ExitStatus::Success);
}
