// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/velotool/SimulateCommand.h"

#include "tools/simulator/RawRideRecord.h"
#include "tools/simulator/SimulatedBikeComputer.h"
#include "tools/velotool/CommandParser.h"
#include "tools/velotool/Console.h"
#include "tools/velotool/InterruptWatcher.h"
#include "tools/velotool/ModelLookup.h"

#include <QEventLoop>
#include <QSaveFile>

namespace {

const QString DefaultModel = QStringLiteral("Lumo 60");
constexpr int HighestFirmware = 99; // two BCD digits

} // namespace

int SimulateCommand::writeRecord(const QString &path)
{
    const QByteArray record = RawRideRecord::sampleRide();
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(record) != record.size() || !file.commit()) {
        m_console.error(tr("Cannot write %1: %2.").arg(path, file.errorString()));
        return int(ExitStatus::OutputUnwritable);
    }
    m_console.progress(tr("Wrote the simulated ride record of %1 (%2 samples) to %3.")
                           .arg(RawRideRecord::sampleStart().toString(QStringLiteral("yyyy-MM-dd HH:mm")))
                           .arg(RawRideRecord::sampleCount())
                           .arg(path));
    return int(ExitStatus::Success);
}

QString SimulateCommand::summary()
{
    return tr("Runs a simulated bike computer on a pseudo-terminal until Ctrl-C.");
}

int SimulateCommand::run(const QStringList &arguments)
{
    CommandParser command(QStringLiteral("simulate"),
                          QStringLiteral("velotool simulate [--model NAME|ID] [--firmware N] [--write-record FILE] [options]"),
                          summary() + QLatin1Char('\n')
                              + tr("It holds a sample day of rides and prints, as the only line on standard output, "
                                   "the port to open, for example with \"velotool read --port PORT\"."));
    QCommandLineParser &parser = command.parser();
    const QCommandLineOption modelOption(QStringLiteral("model"),
                                         tr("Model to play, by name or id (default \"%1\").").arg(DefaultModel),
                                         tr("NAME|ID"), DefaultModel);
    const QCommandLineOption firmwareOption(QStringLiteral("firmware"),
                                            tr("Firmware version to report, 0 to %1 (default: the model's usual one).")
                                                .arg(HighestFirmware),
                                            tr("N"));
    const QCommandLineOption recordOption(QStringLiteral("write-record"),
                                          tr("Writes the device's raw ride record to FILE, for \"velotool convert\", "
                                             "instead of serving."),
                                          tr("FILE"));
    parser.addOption(modelOption);
    parser.addOption(firmwareOption);
    parser.addOption(recordOption);
    if (const auto status = command.parse(arguments, m_console))
        return int(*status);

    const auto usage = [&](const QString &message) {
        const ToolFailure failure = command.usageError(message);
        m_console.error(failure.message);
        return int(failure.status);
    };
    if (const auto failure = command.expectPositional(0, QString())) {
        m_console.error(failure->message);
        return int(failure->status);
    }
    const ModelLookup models;
    const std::optional<quint8> modelId = models.find(parser.value(modelOption));
    if (!modelId)
        return usage(models.unknownModelMessage(parser.value(modelOption)));
    std::optional<int> firmware;
    if (parser.isSet(firmwareOption)) {
        bool isNumber = false;
        firmware = parser.value(firmwareOption).toInt(&isNumber);
        if (!isNumber || *firmware < 0 || *firmware > HighestFirmware)
            return usage(tr("The firmware version must be a number from 0 to %1, not \"%2\".")
                             .arg(HighestFirmware)
                             .arg(parser.value(firmwareOption)));
    }

    if (parser.isSet(recordOption))
        return writeRecord(parser.value(recordOption));

    SimulatedBikeComputer device(*modelId);
    if (firmware)
        device.setFirmwareVersion(*firmware);
    InterruptWatcher interrupts;
    if (!device.start()) {
        m_console.error(tr("The simulated bike computer cannot be started: %1.").arg(device.errorString()));
        return int(ExitStatus::SimulatorUnavailable);
    }

    m_console.print(device.portName());
    m_console.progress(tr("Simulated %1 with firmware %2 is serving on %3. Open that port, for example with "
                          "\"velotool read --port %3\". Press Ctrl-C to stop.")
                           .arg(device.model()->name)
                           .arg(device.values().firmwareVersion)
                           .arg(device.portName()));

    QEventLoop loop;
    QObject::connect(&interrupts, &InterruptWatcher::interrupted, &loop, &QEventLoop::quit);
    loop.exec();

    device.unplug();
    m_console.progress(tr("Stopped after answering %1 requests.").arg(device.answerCount()));
    return int(ExitStatus::Success);
}
