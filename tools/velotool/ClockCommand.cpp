// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/velotool/ClockCommand.h"

#include "linkhub/ModelData.h"
#include "tools/velotool/CommandParser.h"
#include "tools/velotool/Console.h"
#include "tools/velotool/DeviceReader.h"
#include "tools/velotool/ValueWriter.h"

namespace {

/// A device clock may have moved on by the time it is read back, by the seconds the read took.
constexpr qint64 ReadBackSlackSeconds = 30;

bool keepsDate(const ModelData &record)
{
    return record.deviceModel && record.deviceModel->hasDate;
}

} // namespace

QString ClockCommand::summary()
{
    return tr("Sets the bike computer's clock to the PC's local time and reads it back.");
}

std::optional<QDateTime> ClockCommand::parseTime(const QString &text)
{
    const QDateTime time = QDateTime::fromString(text.trimmed(), QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    if (!time.isValid() || time.date().year() < 2000 || time.date().year() > 2255)
        return std::nullopt;
    return time;
}

QString ClockCommand::clockText(const ModelData &record)
{
    const QTime time(record.hour, record.minute, record.second);
    if (!keepsDate(record))
        return time.toString(QStringLiteral("HH:mm:ss"));
    return QStringLiteral("%1-%2-%3 %4")
        .arg(2000 + record.year)
        .arg(record.month, 2, 10, QLatin1Char('0'))
        .arg(record.day, 2, 10, QLatin1Char('0'))
        .arg(time.toString(QStringLiteral("HH:mm:ss")));
}

int ClockCommand::run(const QStringList &arguments)
{
    CommandParser command(QStringLiteral("clock"),
                          QStringLiteral("velotool clock (--port NAME | --simulate MODEL) [--to \"YYYY-MM-DD HH:MM:SS\"] "
                                         "[options]"),
                          summary() + QLatin1Char('\n')
                              + tr("The Lumo 10 and 30 keep the time of day only; their date is left as it is."));
    QCommandLineParser &parser = command.parser();
    DeviceReader::addOptions(parser);
    command.addLogOption();
    const QCommandLineOption toOption(QStringLiteral("to"), tr("Local date and time to set instead of the PC's."),
                                      QStringLiteral("YYYY-MM-DD HH:MM:SS"));
    parser.addOption(toOption);
    if (const auto status = command.parse(arguments, m_console))
        return int(*status);

    const auto fail = [this](const ToolFailure &failure) { return m_console.fail(failure); };
    DeviceReader device(m_console);
    if (const auto failure = device.takeArguments(command, 0, QString()))
        return fail(*failure);
    std::optional<QDateTime> target;
    if (parser.isSet(toOption)) {
        target = parseTime(parser.value(toOption));
        if (!target)
            return fail(command.usageError(
                tr("The time \"%1\" is not a local date and time like \"2026-07-01 10:00:00\" between the years "
                   "2000 and 2255.")
                    .arg(parser.value(toOption))));
    }

    ValueWriter::Change change;
    change.block = DateTimeUpdate;
    change.apply = [&target](ModelData &copy) -> std::optional<ToolFailure> {
        copy.setDateTime(target.value_or(QDateTime::currentDateTime()));
        return std::nullopt;
    };
    change.readBack = [](const ModelData &) { return ReadDateTime; };
    change.took = [](const ModelData &written, const ModelData &reported) {
        // A model without a date keeps its own; only the time of day is compared there.
        const qint64 ahead = keepsDate(reported)
            ? written.getDateTime().secsTo(reported.getDateTime())
            : (QTime(written.hour, written.minute, written.second)
                   .secsTo(QTime(reported.hour, reported.minute, reported.second)) + 86400) % 86400;
        return ahead >= 0 && ahead <= ReadBackSlackSeconds;
    };
    change.notTaken = [&device](const ModelData &reported) {
        return tr("The bike computer on %1 did not take the new time: its clock still shows %2.")
            .arg(device.port(), clockText(reported));
    };

    ValueWriter writer(device, m_console);
    const ToolFailure outcome = writer.run(change);
    if (outcome.status != ExitStatus::Success)
        return fail(outcome);

    QString text = tr("Clock before: %1\nClock after:  %2").arg(clockText(*writer.before()), clockText(*writer.after()));
    if (!keepsDate(*writer.after()))
        text += QLatin1Char('\n')
            + tr("The %1 keeps the time of day only: its date was left as it is.").arg(writer.after()->deviceModel->name);
    m_console.print(text);
    return int(ExitStatus::Success);
}
