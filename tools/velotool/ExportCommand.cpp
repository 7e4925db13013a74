// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/velotool/ExportCommand.h"

#include "tools/velotool/CommandParser.h"
#include "tools/velotool/Console.h"
#include "tools/velotool/DeviceReader.h"
#include "tools/velotool/OutputTarget.h"
#include "tools/velotool/ReportPrinter.h"
#include "tools/velotool/RideLogging.h"
#include "tools/velotool/RideReport.h"

#include <QDir>
#include <QRegularExpression>

QString ExportCommand::summary()
{
    return tr("Reads a bike computer and writes one bike's ride as a FIT file or appends it to a CSV log.");
}

std::optional<QDateTime> ExportCommand::parseStart(const QString &text)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{4}-\\d{2}-\\d{2}) (\\d{2}:\\d{2})(:\\d{2})?$"));
    const QRegularExpressionMatch match = pattern.match(text.trimmed());
    if (!match.hasMatch())
        return std::nullopt;
    const QDate date = QDate::fromString(match.captured(1), QStringLiteral("yyyy-MM-dd"));
    const QTime time = QTime::fromString(match.captured(2) + (match.hasCaptured(3) ? match.captured(3) : QStringLiteral(":00")),
                                         QStringLiteral("HH:mm:ss"));
    if (!date.isValid() || !time.isValid())
        return std::nullopt;
    // Local time, as the desktop program takes it; the exporters cope with a time the switch to
    // summer time skips.
    return QDateTime(date, time);
}

int ExportCommand::run(const QStringList &arguments)
{
    CommandParser command(
        QStringLiteral("export"),
        QStringLiteral("velotool export (--port NAME | --simulate MODEL) [--bike 1|2] [--start \"YYYY-MM-DD HH:MM\"] "
                       "[options] OUTPUT"),
        summary() + QLatin1Char('\n')
            + tr("OUTPUT ending in \".fit\" becomes a FIT activity file (an existing one is replaced whole); any other "
                 "name is a CSV log that gets one line per ride. The folder is checked before the device is read."));
    QCommandLineParser &parser = command.parser();
    DeviceReader::addOptions(parser);
    command.addLogOption();
    RideLogging::addOptions(parser);
    const QCommandLineOption bikeOption(QStringLiteral("bike"), tr("The bike whose ride is written (default 1)."),
                                        QStringLiteral("1|2"), QStringLiteral("1"));
    const QCommandLineOption startOption(QStringLiteral("start"),
                                         tr("Local date and time the ride started (default: now)."),
                                         QStringLiteral("YYYY-MM-DD HH:MM"));
    parser.addOption(bikeOption);
    parser.addOption(startOption);
    parser.addPositionalArgument(QStringLiteral("OUTPUT"), tr("The FIT file (.fit) or CSV log to write."));
    if (const auto status = command.parse(arguments, m_console))
        return int(*status);

    const auto fail = [this](const ToolFailure &failure) {
        m_console.error(failure.message);
        return int(failure.status);
    };
    if (const auto failure = command.expectPositional(1, tr("Name the OUTPUT file.")))
        return fail(*failure);

    const QString bike = parser.value(bikeOption);
    if (bike != QLatin1String("1") && bike != QLatin1String("2"))
        return fail(command.usageError(tr("The bike must be 1 or 2, not \"%1\".").arg(bike)));
    const int bikeIndex = bike.toInt() - 1;

    // As the desktop program's date page starts: today, now (to the second).
    QDateTime rideStart = QDateTime::currentDateTime();
    rideStart.setTime(QTime(rideStart.time().hour(), rideStart.time().minute(), rideStart.time().second()));
    if (parser.isSet(startOption)) {
        const std::optional<QDateTime> start = parseStart(parser.value(startOption));
        if (!start)
            return fail(command.usageError(
                tr("The start must be a date and time such as \"2024-03-16 09:30\", not \"%1\".").arg(parser.value(startOption))));
        rideStart = *start;
    }

    DeviceReader reader(m_console);
    if (const auto failure = reader.takeOptions(parser))
        return fail(command.usageError(failure->message));
    RideLogging logging(m_console);
    if (const auto failure = logging.takeOptions(parser, reader.simulatedModel().has_value()))
        return fail(command.usageError(failure->message));
    const OutputTarget output(parser.positionalArguments().constFirst());
    if (const auto failure = output.checkWritable())
        return fail(*failure);

    const ToolFailure outcome = reader.read();
    if (outcome.status != ExitStatus::Success)
        return fail(outcome);

    // Ctrl-C once the device was read is taken between the steps, never within the write: the
    // file is then either written whole or not touched, and nothing staged is left behind.
    const QString path = QDir::toNativeSeparators(output.path());
    if (reader.wasInterrupted())
        return fail({ExitStatus::Interrupted, tr("Interrupted; %1 was left as it was.").arg(path)});
    m_console.progress(output.kind() == OutputTarget::Kind::Fit ? tr("Writing the FIT file...")
                                                                 : tr("Appending to the CSV log..."));
    logging.recordRead(*reader.record());
    if (const auto failure = output.write(reader.record(), bikeIndex, rideStart))
        return fail(*failure);
    logging.recordExport(*reader.record(), bikeIndex, rideStart);

    const RideReport report = RideReport::ofRide(*reader.record(), bikeIndex, rideStart);
    m_console.print(ReportPrinter::toText(report)
                    + (output.kind() == OutputTarget::Kind::Fit ? tr("Written to the FIT file %1").arg(path)
                                                                : tr("Appended to the CSV log %1").arg(path)));
    if (reader.wasInterrupted())
        return fail({ExitStatus::Interrupted, tr("Interrupted; the ride had been written to %1 already.").arg(path)});
    return int(ExitStatus::Success);
}
