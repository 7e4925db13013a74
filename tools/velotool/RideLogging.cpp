// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/velotool/RideLogging.h"

#include "logbook/Logbook.h"
#include "logbook/RideRecorder.h"
#include "tools/velotool/Console.h"
#include "tools/velotool/LogbookCommand.h"

#include <QCommandLineParser>

namespace {

const QString NoLogbook = QStringLiteral("no-logbook");

} // namespace

void RideLogging::addOptions(QCommandLineParser &parser)
{
    parser.addOption(LogbookCommand::fileOption());
    parser.addOption(QCommandLineOption(NoLogbook, tr("Records nothing in the logbook.")));
}

std::optional<ToolFailure> RideLogging::takeOptions(const QCommandLineParser &parser, bool simulated)
{
    const QString named = parser.value(LogbookCommand::fileOption());
    if (!named.isEmpty() && parser.isSet(NoLogbook))
        return ToolFailure{ExitStatus::UsageError, tr("Give either --logbook FILE or --no-logbook, not both.")};
    if (!parser.isSet(NoLogbook))
        m_path = !named.isEmpty() ? named : simulated ? QString() : Logbook::defaultPath();
    return std::nullopt;
}

void RideLogging::recordRead(const ModelData &record)
{
    if (m_path.isEmpty())
        return;
    Logbook logbook(m_path);
    std::optional<LogbookError> error = logbook.open();
    if (!error)
        error = RideRecorder(logbook).recordRead(record);
    if (error)
        m_console.error(tr("Warning: the read was not recorded in the logbook. %1").arg(error->message()));
}

void RideLogging::recordExport(const ModelData &record, int bikeIndex, const QDateTime &start)
{
    if (m_path.isEmpty())
        return;
    Logbook logbook(m_path);
    std::optional<LogbookError> error = logbook.open();
    if (!error)
        error = RideRecorder(logbook).recordExport(record, bikeIndex, start, false);
    if (error)
        m_console.error(tr("Warning: the export was not recorded in the logbook. %1").arg(error->message()));
}
