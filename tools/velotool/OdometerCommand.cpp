// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/velotool/OdometerCommand.h"

#include "linkhub/ModelData.h"
#include "linkhub/UnitFactors.h"
#include "tools/velotool/CommandParser.h"
#include "tools/velotool/Console.h"
#include "tools/velotool/DeviceReader.h"
#include "tools/velotool/ValueWriter.h"

#include <cmath>

namespace {

/// Digits after the point in the figures printed, enough to tell the metres apart.
constexpr int Decimals = 3;

} // namespace

QString OdometerCommand::summary()
{
    return tr("Writes a bike's total distance (odometer), for example after a battery change, and reads it back.");
}

int OdometerCommand::run(const QStringList &arguments)
{
    CommandParser command(QStringLiteral("odometer"),
                          QStringLiteral("velotool odometer (--port NAME | --simulate MODEL) --bike 1|2 [--miles] "
                                         "[options] DISTANCE"),
                          summary() + QLatin1Char('\n')
                              + tr("Every other setting of the bike is written back as the device reported it."));
    QCommandLineParser &parser = command.parser();
    DeviceReader::addOptions(parser);
    command.addLogOption();
    const QCommandLineOption bikeOption(QStringLiteral("bike"), tr("The bike whose odometer is set."),
                                        QStringLiteral("1|2"));
    const QCommandLineOption milesOption(QStringLiteral("miles"), tr("DISTANCE is in miles, not kilometres."));
    parser.addOption(bikeOption);
    parser.addOption(milesOption);
    parser.addPositionalArgument(QStringLiteral("DISTANCE"), tr("The new total distance, in kilometres (or miles)."));
    if (const auto status = command.parse(arguments, m_console))
        return int(*status);

    const auto fail = [this](const ToolFailure &failure) { return m_console.fail(failure); };
    DeviceReader device(m_console);
    if (const auto failure = device.takeArguments(command, 1, tr("Give the new total distance.")))
        return fail(*failure);
    const QString bikeText = parser.value(bikeOption);
    if (bikeText != QLatin1String("1") && bikeText != QLatin1String("2"))
        return fail(command.usageError(tr("Name the bike with --bike 1 or --bike 2.")));
    const int bike = bikeText.toInt() - 1;
    const QString distanceText = parser.positionalArguments().constFirst();
    bool isNumber = false;
    const double distance = distanceText.toDouble(&isNumber);
    if (!isNumber || !std::isfinite(distance) || distance < 0)
        return fail(command.usageError(
            tr("The distance \"%1\" is not a number of kilometres or miles of 0 or more.").arg(distanceText)));
    const bool miles = parser.isSet(milesOption);
    const UnitFactors &units = miles ? UnitFactors::imperial() : UnitFactors::metric();
    const QString unit = miles ? tr("miles") : tr("km");
    const auto shown = [&](quint64 millimetres) {
        return QStringLiteral("%1 %2").arg(double(millimetres) * units.distanceDisplay, 0, 'f', Decimals).arg(unit);
    };

    ValueWriter::Change change;
    change.block = bike == 0 ? Bike1Update : Bike2Update;
    change.apply = [&](ModelData &copy) -> std::optional<ToolFailure> {
        const DeviceModel &model = *copy.deviceModel;
        if (bike == 1 && model.bikeCount == 1)
            return command.usageError(tr("The %1 keeps one bike only; use --bike 1.").arg(model.name));
        const double millimetres = std::round(distance * units.distanceWriteBack);
        if (millimetres > double(model.maxTotalDistance()))
            return command.usageError(tr("%1 %2 is more than the odometer of the %3 holds (at most %4).")
                                          .arg(distanceText, unit, model.name, shown(model.maxTotalDistance())));
        copy.bikes[bike].totalDistance = quint64(millimetres);
        return std::nullopt;
    };
    change.readBack = [bike](const ModelData &record) {
        if (record.deviceModel->bikeCount == 1)
            return ReadBikeSettings;
        return bike == 0 ? ReadBike1Settings : ReadBike2Settings;
    };
    change.took = [bike](const ModelData &written, const ModelData &reported) {
        return written.bikes[bike].totalDistance == reported.bikes[bike].totalDistance;
    };
    change.notTaken = [&](const ModelData &reported) {
        return tr("The bike computer on %1 did not take the new odometer: bike %2 still shows %3.")
            .arg(device.port())
            .arg(bike + 1)
            .arg(shown(reported.bikes[bike].totalDistance));
    };

    ValueWriter writer(device, m_console);
    const ToolFailure outcome = writer.run(change);
    if (outcome.status != ExitStatus::Success)
        return fail(outcome);
    m_console.print(tr("Bike %1 odometer before: %2\nBike %1 odometer after:  %3")
                        .arg(bike + 1)
                        .arg(shown(writer.before()->bikes[bike].totalDistance),
                             shown(writer.after()->bikes[bike].totalDistance)));
    return int(ExitStatus::Success);
}
