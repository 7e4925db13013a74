// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/velotool/LogbookCommand.h"

#include "logbook/CsvLogImporter.h"
#include "logbook/Logbook.h"
#include "logbook/RideQuery.h"
#include "logbook/RideRecorder.h"
#include "logbook/RideReexport.h"
#include "logbook/RideTotals.h"
#include "tools/velotool/CommandParser.h"
#include "tools/velotool/Console.h"
#include "logbook/DisplayUnits.h"
#include "tools/velotool/LogbookPrinter.h"
#include "tools/velotool/ModelLookup.h"
#include "tools/velotool/OutputTarget.h"

#include <QDir>
#include <QFile>

namespace {

const QCommandLineOption JsonOption(QStringLiteral("json"),
                                    QCoreApplication::translate("LogbookCommand", "Prints JSON, in metric units."));
const QCommandLineOption MilesOption(QStringLiteral("miles"),
                                     QCoreApplication::translate("LogbookCommand", "Shows miles, mph and feet."));

QCommandLineOption bikeOption(const QString &description)
{
    return QCommandLineOption(QStringLiteral("bike"), description, QStringLiteral("1|2"));
}

QCommandLineOption modelOption(const QString &description)
{
    return QCommandLineOption(QStringLiteral("model"), description, QStringLiteral("NAME"));
}

QString named(const QString &path)
{
    return QDir::toNativeSeparators(path);
}

} // namespace

QString LogbookCommand::summary()
{
    return tr("Lists, sums, exports again and imports the rides kept in the logbook.");
}

QCommandLineOption LogbookCommand::fileOption()
{
    return QCommandLineOption(QStringLiteral("logbook"),
                              tr("The logbook to use instead of the user's own (%1).").arg(named(Logbook::defaultPath())),
                              tr("FILE"));
}

ToolFailure LogbookCommand::failure(const LogbookError &error)
{
    const ExitStatus status = error.kind() == LogbookError::Kind::NoSuchRide ? ExitStatus::UsageError
                                                                              : ExitStatus::LogbookUnavailable;
    return {status, error.message()};
}

int LogbookCommand::fail(const ToolFailure &failure)
{
    return m_console.fail(failure);
}

int LogbookCommand::run(const QStringList &arguments)
{
    const QString subcommand = arguments.value(0);
    const QStringList rest = arguments.mid(1);
    if (subcommand == QLatin1String("list"))
        return list(rest);
    if (subcommand == QLatin1String("totals"))
        return totals(rest);
    if (subcommand == QLatin1String("export"))
        return exportRide(rest);
    if (subcommand == QLatin1String("import"))
        return import(rest);
    if (subcommand == QLatin1String("note"))
        return note(rest);
    if (subcommand == QLatin1String("remove"))
        return remove(rest);
    if (subcommand == QLatin1String("backup"))
        return backup(rest);
    return overview(arguments);
}

int LogbookCommand::overview(const QStringList &arguments)
{
    const std::unique_ptr<CommandParser> command = parser(
        QString(), QStringLiteral("velotool logbook list|totals|export|import|note|remove|backup [options]"),
        summary() + QLatin1Char('\n')
            + tr("Commands:\n"
                 "  list [--bike 1|2] [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--last N] [--miles] [--json]\n"
                 "  totals [--by week|month|year] [--bike 1|2] [--miles] [--json]\n"
                 "  export [--model NAME] ID OUTPUT\n"
                 "  import [--bike 1|2] [--model NAME] CSVLOG...\n"
                 "  note ID TEXT\n"
                 "  remove ID\n"
                 "  backup FILE\n"
                 "read and export record the rides they read into the logbook; \"velotool logbook COMMAND --help\" "
                 "tells more."));
    if (const auto status = command->parse(arguments, m_console))
        return int(*status);
    const QString given = command->parser().positionalArguments().value(0);
    return fail(command->usageError(
        given.isEmpty() ? tr("Name a logbook command: list, totals, export, import, note, remove or backup.")
                        : tr("Unknown logbook command \"%1\": use list, totals, export, import, note, remove or backup.")
                              .arg(given)));
}

std::unique_ptr<CommandParser> LogbookCommand::parser(const QString &subcommand, const QString &synopsis,
                                                      const QString &description)
{
    auto command = std::make_unique<CommandParser>(
        subcommand.isEmpty() ? QStringLiteral("logbook") : QStringLiteral("logbook ") + subcommand, synopsis, description);
    command->parser().addOption(fileOption());
    return command;
}

std::optional<ToolFailure> LogbookCommand::open(const CommandParser &command, std::unique_ptr<Logbook> &logbook)
{
    const QString name = command.parser().value(fileOption());
    logbook = std::make_unique<Logbook>(name.isEmpty() ? Logbook::defaultPath() : name);
    if (const auto error = logbook->open())
        return failure(*error);
    return std::nullopt;
}

std::optional<ToolFailure> LogbookCommand::bikeOption(const CommandParser &command, const QCommandLineOption &option,
                                                      int &bike)
{
    if (!command.parser().isSet(option))
        return std::nullopt;
    const QString given = command.parser().value(option);
    if (given != QLatin1String("1") && given != QLatin1String("2"))
        return command.usageError(tr("The bike must be 1 or 2, not \"%1\".").arg(given));
    bike = given.toInt();
    return std::nullopt;
}

std::optional<ToolFailure> LogbookCommand::rideId(const CommandParser &command, qint64 &id)
{
    const QString given = command.parser().positionalArguments().value(0);
    bool ok = false;
    id = given.toLongLong(&ok);
    if (!ok || id <= 0)
        return command.usageError(tr("A ride is named by its number in the list, not \"%1\".").arg(given));
    return std::nullopt;
}

int LogbookCommand::list(const QStringList &arguments)
{
    const std::unique_ptr<CommandParser> command = parser(
        QStringLiteral("list"),
        QStringLiteral("velotool logbook list [--bike 1|2] [--from YYYY-MM-DD] [--to YYYY-MM-DD] [--last N] [--miles] "
                       "[--json]"),
        tr("Lists the rides of the logbook, oldest first."));
    QCommandLineParser &options = command->parser();
    const QCommandLineOption bike = ::bikeOption(tr("Only the rides of this bike."));
    const QCommandLineOption from(QStringLiteral("from"), tr("Only rides on this day or later."), QStringLiteral("YYYY-MM-DD"));
    const QCommandLineOption to(QStringLiteral("to"), tr("Only rides on this day or earlier."), QStringLiteral("YYYY-MM-DD"));
    const QCommandLineOption last(QStringLiteral("last"), tr("Only the newest N rides."), QStringLiteral("N"));
    options.addOptions({bike, from, to, last, MilesOption, JsonOption});
    if (const auto status = command->parse(arguments, m_console))
        return int(*status);
    if (const auto failure = command->expectPositional(0, QString()))
        return fail(*failure);

    RideFilter filter;
    int bikeNumber = 0;
    if (const auto failure = bikeOption(*command, bike, bikeNumber))
        return fail(*failure);
    if (bikeNumber != 0)
        filter.bike = bikeNumber;
    for (const auto &[option, day] : {std::pair{&from, &filter.from}, std::pair{&to, &filter.to}}) {
        if (!options.isSet(*option))
            continue;
        *day = QDate::fromString(options.value(*option), Qt::ISODate);
        if (!day->isValid())
            return fail(command->usageError(tr("A day is written YYYY-MM-DD, not \"%1\".").arg(options.value(*option))));
    }
    if (options.isSet(last)) {
        bool ok = false;
        filter.newest = options.value(last).toInt(&ok);
        if (!ok || filter.newest <= 0)
            return fail(command->usageError(tr("--last takes a number of rides, not \"%1\".").arg(options.value(last))));
    }

    std::unique_ptr<Logbook> logbook;
    if (const auto failure = open(*command, logbook))
        return fail(*failure);
    QList<RideEntry> rides;
    if (const auto error = RideQuery::rides(*logbook, filter, rides))
        return fail(failure(*error));
    m_console.print(options.isSet(JsonOption)
                        ? LogbookPrinter::ridesJson(rides)
                        : LogbookPrinter::rideTable(rides, DisplayUnits::forSystem(options.isSet(MilesOption) ? 1 : 0)));
    return int(ExitStatus::Success);
}

int LogbookCommand::totals(const QStringList &arguments)
{
    const std::unique_ptr<CommandParser> command =
        parser(QStringLiteral("totals"), QStringLiteral("velotool logbook totals [--by week|month|year] [--bike 1|2] [--miles] [--json]"),
               tr("Sums the rides of the logbook by ISO week, month or year, oldest period first."));
    QCommandLineParser &options = command->parser();
    const QCommandLineOption by(QStringLiteral("by"), tr("The period to sum by (default month)."),
                                QStringLiteral("week|month|year"), QStringLiteral("month"));
    const QCommandLineOption bike = ::bikeOption(tr("Only the rides of this bike."));
    options.addOptions({by, bike, MilesOption, JsonOption});
    if (const auto status = command->parse(arguments, m_console))
        return int(*status);
    if (const auto failure = command->expectPositional(0, QString()))
        return fail(*failure);
    const QString period = options.value(by);
    RideTotals::Period chosen = RideTotals::Period::Month;
    if (period == QLatin1String("week"))
        chosen = RideTotals::Period::Week;
    else if (period == QLatin1String("year"))
        chosen = RideTotals::Period::Year;
    else if (period != QLatin1String("month"))
        return fail(command->usageError(tr("Sum by week, month or year, not \"%1\".").arg(period)));
    int bikeNumber = 0;
    if (const auto failure = bikeOption(*command, bike, bikeNumber))
        return fail(*failure);

    std::unique_ptr<Logbook> logbook;
    if (const auto failure = open(*command, logbook))
        return fail(*failure);
    QList<PeriodTotal> totals;
    if (const auto error = RideTotals::compute(*logbook, chosen, bikeNumber, totals))
        return fail(failure(*error));
    m_console.print(options.isSet(JsonOption)
                        ? LogbookPrinter::totalsJson(totals)
                        : LogbookPrinter::totalsTable(totals, DisplayUnits::forSystem(options.isSet(MilesOption) ? 1 : 0)));
    return int(ExitStatus::Success);
}

int LogbookCommand::exportRide(const QStringList &arguments)
{
    const std::unique_ptr<CommandParser> command = parser(
        QStringLiteral("export"), QStringLiteral("velotool logbook export [--model NAME] ID OUTPUT"),
        tr("Writes a ride of the logbook again: OUTPUT ending in \".fit\" becomes a FIT activity file, any other name "
           "a CSV log that gets the ride as one more line."));
    const QCommandLineOption model = modelOption(tr("The model to write a ride of unknown model as (an imported one)."));
    command->parser().addOption(model);
    command->parser().addPositionalArgument(QStringLiteral("ID"), tr("The ride's number in the list."));
    command->parser().addPositionalArgument(QStringLiteral("OUTPUT"), tr("The FIT file (.fit) or CSV log to write."));
    if (const auto status = command->parse(arguments, m_console))
        return int(*status);
    if (const auto failure = command->expectPositional(2, tr("Name the ride's ID and the OUTPUT file.")))
        return fail(*failure);
    qint64 id = 0;
    if (const auto failure = rideId(*command, id))
        return fail(*failure);
    const OutputTarget output(command->parser().positionalArguments().at(1));
    if (const auto failure = output.checkWritable())
        return fail(*failure);

    std::unique_ptr<Logbook> logbook;
    if (const auto failure = open(*command, logbook))
        return fail(*failure);
    RideEntry ride;
    if (const auto error = RideQuery::ride(*logbook, id, ride))
        return fail(failure(*error));
    const RideReexport reexport;
    const QString modelName = command->parser().isSet(model) ? command->parser().value(model) : ride.model;
    const ModelLookup lookup;
    const std::optional<quint8> modelId = lookup.find(modelName);
    if (modelName.isEmpty())
        return fail(command->usageError(
            tr("The model of ride %1 is not known: name the model to write it as with --model.").arg(id)));
    const DeviceModel *row = modelId ? reexport.model(*modelId) : nullptr;
    if (!row)
        return fail(command->usageError(lookup.unknownModelMessage(modelName)));
    if (!reexport.write(ride, *row, output.path()))
        return fail({ExitStatus::OutputUnwritable,
                     tr("Writing %1 failed, and the file was left as it was. Make sure that there is space on the disk "
                        "and that you may write there.")
                         .arg(named(output.path()))});
    m_console.print(output.kind() == OutputTarget::Kind::Fit
                        ? tr("Ride %1 written to the FIT file %2").arg(id).arg(named(output.path()))
                        : tr("Ride %1 appended to the CSV log %2").arg(id).arg(named(output.path())));
    return int(ExitStatus::Success);
}

int LogbookCommand::import(const QStringList &arguments)
{
    const std::unique_ptr<CommandParser> command = parser(
        QStringLiteral("import"), QStringLiteral("velotool logbook import [--bike 1|2] [--model NAME] CSVLOG..."),
        tr("Takes the rides of CSV logs this product wrote into the logbook, in either unit system and with headings "
           "in any language. A line whose bike, date and distance are in the logbook already is skipped; a line that "
           "is no ride of such a log is named and refused. Each log goes in whole or not at all."));
    const QCommandLineOption bike = ::bikeOption(tr("The bike the rides were on (default 1)."));
    const QCommandLineOption model = modelOption(tr("The model that recorded the rides (default: unknown)."));
    command->parser().addOptions({bike, model});
    command->parser().addPositionalArgument(QStringLiteral("CSVLOG"), tr("The logs to import."));
    if (const auto status = command->parse(arguments, m_console))
        return int(*status);
    const QStringList logs = command->parser().positionalArguments();
    if (logs.isEmpty())
        return fail(command->usageError(tr("Name the CSV logs to import.")));
    int bikeNumber = 1;
    if (const auto failure = bikeOption(*command, bike, bikeNumber))
        return fail(*failure);
    QString modelName;
    if (command->parser().isSet(model)) {
        const ModelLookup lookup;
        const std::optional<quint8> id = lookup.find(command->parser().value(model));
        if (!id)
            return fail(command->usageError(lookup.unknownModelMessage(command->parser().value(model))));
        modelName = RideReexport().model(*id)->name;
    }

    std::unique_ptr<Logbook> logbook;
    if (const auto failure = open(*command, logbook))
        return fail(*failure);
    bool allTaken = true;
    for (const QString &log : logs) {
        QFile file(log);
        if (!file.open(QIODevice::ReadOnly)) {
            m_console.error(tr("Cannot read %1: %2.").arg(named(log), file.errorString()));
            allTaken = false;
            continue;
        }
        ImportOutcome outcome;
        if (const auto error = CsvLogImporter(*logbook, bikeNumber, modelName).import(file, outcome))
            return fail(failure(*error));
        for (const RefusedLine &refused : outcome.refused)
            m_console.error(tr("%1:%2: %3; the line was skipped.").arg(named(log)).arg(refused.line).arg(refused.reason));
        allTaken = allTaken && outcome.refused.isEmpty();
        m_console.print(tr("%1: %2 imported, %3 already in the logbook, %4 refused")
                            .arg(named(log))
                            .arg(outcome.imported)
                            .arg(outcome.alreadyThere)
                            .arg(outcome.refused.size()));
    }
    return int(allTaken ? ExitStatus::Success : ExitStatus::InputUnreadable);
}

int LogbookCommand::note(const QStringList &arguments)
{
    const std::unique_ptr<CommandParser> command = parser(QStringLiteral("note"), QStringLiteral("velotool logbook note ID TEXT"),
                                                          tr("Keeps a note with a ride; an empty TEXT clears it."));
    command->parser().addPositionalArgument(QStringLiteral("ID"), tr("The ride's number in the list."));
    command->parser().addPositionalArgument(QStringLiteral("TEXT"), tr("The note."));
    return changeRide(*command, arguments, 2, tr("Name the ride's ID and the TEXT of the note."),
                      [&command](RideRecorder &recorder, qint64 id) {
                          return recorder.setNote(id, command->parser().positionalArguments().at(1));
                      },
                      tr("Ride %1 noted."));
}

int LogbookCommand::remove(const QStringList &arguments)
{
    const std::unique_ptr<CommandParser> command =
        parser(QStringLiteral("remove"), QStringLiteral("velotool logbook remove ID"), tr("Removes a ride from the logbook."));
    command->parser().addPositionalArgument(QStringLiteral("ID"), tr("The ride's number in the list."));
    return changeRide(*command, arguments, 1, tr("Name the ride's ID."),
                      [](RideRecorder &recorder, qint64 id) { return recorder.remove(id); }, tr("Ride %1 removed."));
}

int LogbookCommand::changeRide(CommandParser &command, const QStringList &arguments, int positionals,
                               const QString &missingArguments, const RideChange &change, const QString &done)
{
    if (const auto status = command.parse(arguments, m_console))
        return int(*status);
    if (const auto failure = command.expectPositional(positionals, missingArguments))
        return fail(*failure);
    qint64 id = 0;
    if (const auto failure = rideId(command, id))
        return fail(*failure);
    std::unique_ptr<Logbook> logbook;
    if (const auto failure = open(command, logbook))
        return fail(*failure);
    RideRecorder recorder(*logbook);
    if (const auto error = change(recorder, id))
        return fail(failure(*error));
    m_console.print(done.arg(id));
    return int(ExitStatus::Success);
}

int LogbookCommand::backup(const QStringList &arguments)
{
    const std::unique_ptr<CommandParser> command = parser(
        QStringLiteral("backup"), QStringLiteral("velotool logbook backup FILE"),
        tr("Writes a copy of the logbook as one moment left it, while other programs may be recording; FILE is "
           "replaced only once the copy is complete."));
    command->parser().addPositionalArgument(QStringLiteral("FILE"), tr("The copy to write."));
    if (const auto status = command->parse(arguments, m_console))
        return int(*status);
    if (const auto failure = command->expectPositional(1, tr("Name the FILE to copy the logbook to.")))
        return fail(*failure);
    const QString target = command->parser().positionalArguments().constFirst();
    std::unique_ptr<Logbook> logbook;
    if (const auto failure = open(*command, logbook))
        return fail(*failure);
    if (const auto error = logbook->backup(target)) {
        if (error->path() != target)
            return fail(failure(*error));
        return fail({ExitStatus::OutputUnwritable,
                     tr("Cannot write the copy %1 (%2). Choose a file in a folder you may write to, on a disk with "
                        "room.")
                         .arg(named(target), error->detail())});
    }
    m_console.print(tr("Logbook %1 copied to %2").arg(named(logbook->path()), named(target)));
    return int(ExitStatus::Success);
}
