// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/velotool/FirmwareCommand.h"

#include "linkhub/ComConnection.h"
#include "linkhub/FirmwareImage.h"
#include "tools/velotool/CommandParser.h"
#include "tools/velotool/Console.h"
#include "tools/velotool/DeviceReader.h"
#include "tools/velotool/FirmwareLoader.h"
#include "tools/velotool/InterruptWatcher.h"
#include "tools/velotool/ModelLookup.h"

#include <QFile>
#include <QTextStream>

#include <cstdio>
#include <unistd.h>

QString FirmwareCommand::summary()
{
    return tr("Loads a firmware image into a bike computer.");
}

bool FirmwareCommand::confirmed(const QString &question)
{
    m_console.error(question);
    QTextStream in(stdin);
    return in.readLine().trimmed().compare(QLatin1String("yes"), Qt::CaseInsensitive) == 0;
}

int FirmwareCommand::run(const QStringList &arguments)
{
    CommandParser command(QStringLiteral("firmware"),
                          QStringLiteral("velotool firmware (--port NAME | --simulate MODEL) [--recovery MODEL] [--yes] "
                                         "[options] IMAGE"),
                          summary() + QLatin1Char('\n')
                              + tr("IMAGE is the 64 KiB memory image of the model; its size is checked before the "
                                   "device is touched. A transfer that is cut short can leave the device without "
                                   "firmware: it then shows no firmware and takes the image again with --recovery. "
                                   "Ctrl-C during the transfer warns first and stops only when pressed again."));
    QCommandLineParser &parser = command.parser();
    DeviceReader::addOptions(parser);
    command.addLogOption();
    const QCommandLineOption recoveryOption(
        QStringLiteral("recovery"),
        tr("The device is in its boot loader already (it does not identify itself): load the image of this model."),
        QStringLiteral("MODEL"));
    const QCommandLineOption yesOption(QStringLiteral("yes"), tr("Loads without asking for confirmation."));
    parser.addOption(recoveryOption);
    parser.addOption(yesOption);
    parser.addPositionalArgument(QStringLiteral("IMAGE"), tr("The firmware image to load."));
    if (const auto status = command.parse(arguments, m_console))
        return int(*status);

    const auto fail = [this](const ToolFailure &failure) { return m_console.fail(failure); };
    DeviceReader device(m_console);
    if (const auto failure = device.takeArguments(command, 1, tr("Name the firmware image to load.")))
        return fail(*failure);

    const ModelLookup models;
    std::optional<quint8> recoveryId;
    if (parser.isSet(recoveryOption)) {
        recoveryId = models.find(parser.value(recoveryOption));
        if (!recoveryId)
            return fail(command.usageError(models.unknownModelMessage(parser.value(recoveryOption))));
        if (device.simulatedModel() && device.simulatedModel() != recoveryId)
            return fail(command.usageError(tr("With --simulate, --recovery names the same model.")));
    }

    const QString imagePath = parser.positionalArguments().constFirst();
    QFile file(imagePath);
    if (!file.open(QIODevice::ReadOnly))
        return fail({ExitStatus::InputUnreadable,
                     tr("The firmware image \"%1\" cannot be read: %2.").arg(imagePath, file.errorString())});
    const QByteArray image = file.readAll();

    // The model is known ahead when it is named; otherwise the image must suit the smallest need.
    const std::optional<quint8> knownId = recoveryId ? recoveryId : device.simulatedModel();
    ComConnection catalogueHolder;
    const DeviceModel *known = knownId ? catalogueHolder.getCatalogue().value(*knownId) : nullptr;
    int required = known ? FirmwareImage::requiredSize(*known) : 0;
    if (!known) {
        required = INT_MAX;
        for (const DeviceModel *model : catalogueHolder.getCatalogue())
            required = std::min(required, FirmwareImage::requiredSize(*model));
    }
    if (image.size() < required)
        return fail({ExitStatus::InputUnreadable,
                     tr("The firmware image \"%1\" holds %2 bytes; %3 needs at least %4. Nothing was sent.")
                         .arg(imagePath)
                         .arg(image.size())
                         .arg(known ? tr("the %1").arg(known->name) : tr("every model"))
                         .arg(required)});

    // The question names the port that will be written to.
    if (const auto failure = device.choosePort())
        return fail(*failure);
    if (!parser.isSet(yesOption)) {
        if (::isatty(::fileno(stdin)) != 1)
            return fail(command.usageError(tr("Loading firmware needs a confirmation: give --yes when no one can "
                                              "answer on a terminal.")));
        const QString target = device.simulatedModel() ? tr("a simulated bike computer")
                                                       : tr("the bike computer on %1").arg(device.port());
        if (!confirmed(tr("Load \"%1\" into %2?\nA transfer that is cut short can leave the bike computer without "
                          "firmware. Keep it connected until the transfer ends.\nType \"yes\" to go on: ")
                           .arg(imagePath, target)))
            return fail({ExitStatus::Interrupted, tr("Nothing was sent.")});
    }

    if (const auto failure = device.prepare(recoveryId.has_value()))
        return fail(*failure);
    FirmwareLoader loader(device.connection(), m_console);
    QObject::connect(&device.interrupts(), &InterruptWatcher::interrupted, &loader, &FirmwareLoader::interrupt);
    const DeviceModel *recoveryModel = recoveryId ? device.connection().getCatalogue().value(*recoveryId) : nullptr;
    const ToolFailure outcome = loader.run(device.port(), image, recoveryModel, device.timeout());
    if (outcome.status != ExitStatus::Success)
        return fail(outcome);
    m_console.print(tr("Firmware loaded."));
    return int(ExitStatus::Success);
}
