// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/velotool/ConvertCommand.h"

#include "outpost/Outposter.h"
#include "tools/velotool/CommandParser.h"
#include "tools/velotool/Console.h"
#include "tools/velotool/OutputTarget.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTime>

namespace {

QString clockText(quint32 seconds)
{
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

} // namespace

QString ConvertCommand::summary()
{
    return tr("Turns a raw ride record of the bike computer into a FIT activity file.");
}

int ConvertCommand::run(const QStringList &arguments)
{
    CommandParser command(QStringLiteral("convert"), QStringLiteral("velotool convert [--json] [options] RAW OUT.fit"),
                          summary() + QLatin1Char('\n')
                              + tr("The FIT file gets one record per sample of the ride and replaces an existing "
                                   "file only once it is complete. \"velotool simulate --write-record FILE\" writes "
                                   "a record to try it on."));
    QCommandLineParser &parser = command.parser();
    const QCommandLineOption jsonOption(QStringLiteral("json"), tr("Prints the decoded record as JSON."));
    parser.addOption(jsonOption);
    parser.addPositionalArgument(QStringLiteral("RAW"), tr("The raw ride record to read."));
    parser.addPositionalArgument(QStringLiteral("OUT.fit"), tr("The FIT file to write."));
    if (const auto status = command.parse(arguments, m_console))
        return int(*status);

    const auto fail = [this](const ToolFailure &failure) {
        m_console.error(failure.message);
        return int(failure.status);
    };
    if (const auto failure = command.expectPositional(2, tr("Name the RAW record and the OUT.fit file.")))
        return fail(*failure);
    const QString input = parser.positionalArguments().at(0);
    const OutputTarget output(parser.positionalArguments().at(1));
    if (output.kind() != OutputTarget::Kind::Fit)
        return fail(command.usageError(tr("The output must be a FIT file, named with \".fit\" at the end.")));
    if (const auto failure = output.checkWritable())
        return fail(*failure);

    QFile file(input);
    if (!file.open(QIODevice::ReadOnly))
        return fail({ExitStatus::InputUnreadable, tr("Cannot read %1: %2.").arg(input, file.errorString())});
    const QByteArray raw = file.readAll();
    const ParsedRecord record = Outposter::parseRecord(raw);
    if (!record.valid) {
        const QString reason = raw.size() < ParsedRecord::HeaderSize
            ? tr("it is shorter than the %1-byte header of a ride record").arg(ParsedRecord::HeaderSize)
            : tr("its start is not a date and time");
        return fail({ExitStatus::InputUnreadable, tr("%1 is not a ride record of the bike computer: %2.").arg(input, reason)});
    }

    m_console.progress(tr("Writing the FIT file..."));
    if (Outposter::exportToFit(output.path(), raw) != 0)
        return fail({ExitStatus::OutputUnwritable,
                     tr("Writing %1 failed, and the file was left as it was. Make sure that there is space on the disk "
                        "and that you may write there.")
                         .arg(output.path())});
    m_console.print(parser.isSet(jsonOption)
                        ? json(record)
                        : summaryText(record) + tr("Written to the FIT file %1").arg(QDir::toNativeSeparators(output.path())));
    return int(ExitStatus::Success);
}

QString ConvertCommand::summaryText(const ParsedRecord &record)
{
    return tr("Ride record started %1\n"
              "  Samples:  %2 (%3 time marks)\n"
              "  Duration: %4\n"
              "  Distance: %5 km\n")
        .arg(record.start.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")))
        .arg(record.samples.size())
        .arg(record.timeMarkCount)
        .arg(clockText(record.elapsed()))
        .arg(record.distance / 1e6, 0, 'f', 3);
}

QString ConvertCommand::json(const ParsedRecord &record)
{
    QJsonArray samples;
    for (const RecordSample &s : record.samples)
        samples.append(QJsonObject{{"timestamp", qint64(s.timestamp)}, {"speed", s.speed}, {"heartRate", s.heartRate},
                                   {"cadence", s.cadence}, {"distance", qint64(s.distance)}, {"power", s.power},
                                   {"altitude", s.altitude}, {"temperature", s.temperature}, {"balance", s.balance}});
    const QJsonObject object{
        {"start", record.start.toString(Qt::ISODate)}, {"startTimestamp", qint64(record.startTimestamp)},
        {"maxTemperature", record.maxTemperature}, {"headerParamA", record.headerParamA},
        {"avgHeartRate", record.avgHeartRate}, {"maxHeartRate", record.maxHeartRate},
        {"timeParamA", record.timeParamA}, {"hrInZoneSeconds", record.hrInZoneSeconds},
        {"timeParamB", record.timeParamB}, {"maxSpeed", record.maxSpeed}, {"avgSpeed", record.avgSpeed},
        {"distance", qint64(record.distance)}, {"durationParam", record.durationParam},
        {"altGain", qint64(record.altGain)}, {"altLoss", qint64(record.altLoss)}, {"maxAlt", record.maxAlt},
        {"ascentAvgGradient", record.ascentAvgGradient}, {"ascentMaxGradient", record.ascentMaxGradient},
        {"descentAvgGradient", record.descentAvgGradient}, {"descentMaxGradient", record.descentMaxGradient},
        {"ascentAvgVario", record.ascentAvgVario}, {"ascentMaxVario", record.ascentMaxVario},
        {"descentAvgVario", record.descentAvgVario}, {"descentMaxVario", record.descentMaxVario},
        {"avgPower", record.avgPower}, {"maxPower", record.maxPower}, {"avgCadence", record.avgCadence},
        {"maxCadence", record.maxCadence}, {"sampleInterval", record.sampleInterval},
        {"timeMarkCount", record.timeMarkCount}, {"elapsed", qint64(record.elapsed())}, {"samples", samples}};
    return QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Indented));
}
