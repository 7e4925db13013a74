// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/velotool/DeviceReader.h"

#include "linkhub/ComConnection.h"
#include "linkhub/PortDiagnosis.h"
#include "tools/simulator/SimulatedBikeComputer.h"
#include "tools/velotool/CommandParser.h"
#include "tools/velotool/Console.h"
#include "tools/velotool/DeviceSession.h"
#include "tools/velotool/InterruptWatcher.h"
#include "tools/velotool/ModelLookup.h"

#include <QCommandLineParser>

namespace {

const QString PortOption = QStringLiteral("port");
const QString SimulateOption = QStringLiteral("simulate");
const QString TimeoutOption = QStringLiteral("timeout");
// The port name that asks for the only supported bridge plugged in.
const QString AutoPort = QStringLiteral("auto");

} // namespace

DeviceReader::DeviceReader(Console &console)
    : m_interrupts(std::make_unique<InterruptWatcher>()), m_console(console), m_timeout(DeviceSession::DefaultReadTimeout)
{
}

DeviceReader::~DeviceReader()
{
    m_connection.reset();
    m_simulator.reset();
}

void DeviceReader::addOptions(QCommandLineParser &parser)
{
    parser.addOption({PortOption, tr("Serial port of the bike computer, such as /dev/ttyUSB0; \"auto\" takes the only supported "
                         "USB bridge plugged in."),
                      tr("NAME")});
    parser.addOption({SimulateOption,
                      tr("Reads a simulated bike computer of this model instead (name or id, such as \"Lumo 60\")."),
                      tr("MODEL")});
    parser.addOption({TimeoutOption,
                      tr("Longest time for connecting and reading every value, in seconds (default %1).")
                          .arg(std::chrono::duration_cast<std::chrono::seconds>(DeviceSession::DefaultReadTimeout).count()),
                      tr("SECONDS")});
}

std::optional<ToolFailure> DeviceReader::takeOptions(const QCommandLineParser &parser)
{
    const bool hasPort = parser.isSet(PortOption);
    const bool simulates = parser.isSet(SimulateOption);
    if (hasPort == simulates)
        return ToolFailure{ExitStatus::UsageError, tr("Name the device with either --port NAME or --simulate MODEL.")};
    if (hasPort) {
        m_port = parser.value(PortOption);
        if (m_port.isEmpty())
            return ToolFailure{ExitStatus::UsageError, tr("The port name is empty.")};
    } else {
        const ModelLookup models;
        m_simulatedModel = models.find(parser.value(SimulateOption));
        if (!m_simulatedModel)
            return ToolFailure{ExitStatus::UsageError, models.unknownModelMessage(parser.value(SimulateOption))};
    }
    if (parser.isSet(TimeoutOption)) {
        bool isNumber = false;
        const double seconds = parser.value(TimeoutOption).toDouble(&isNumber);
        if (!isNumber || !(seconds > 0) || seconds > 3600)
            return ToolFailure{ExitStatus::UsageError,
                               tr("The timeout must be a number of seconds above 0 and up to 3600, not \"%1\".")
                                   .arg(parser.value(TimeoutOption))};
        m_timeout = std::chrono::milliseconds(qRound64(seconds * 1000));
    }
    return std::nullopt;
}

std::optional<ToolFailure> DeviceReader::takeArguments(const CommandParser &command, int positionalCount,
                                                       const QString &missingMessage)
{
    if (auto failure = command.expectPositional(positionalCount, missingMessage))
        return failure;
    if (const auto failure = takeOptions(command.parser()))
        return command.usageError(failure->message);
    return std::nullopt;
}

std::optional<ToolFailure> DeviceReader::startSimulator(bool inBootLoader)
{
    m_simulator = std::make_unique<SimulatedBikeComputer>(*m_simulatedModel);
    if (!(inBootLoader ? m_simulator->startInBootLoader() : m_simulator->start()))
        return ToolFailure{ExitStatus::SimulatorUnavailable,
                           tr("The simulated bike computer cannot be started: %1.").arg(m_simulator->errorString())};
    m_port = m_simulator->portName();
    m_console.progress(inBootLoader ? tr("Simulated %1 started in its boot loader on %2").arg(m_simulator->model()->name, m_port)
                                    : tr("Simulated %1 started on %2").arg(m_simulator->model()->name, m_port));
    return std::nullopt;
}

std::optional<ToolFailure> DeviceReader::choosePort()
{
    if (m_port != AutoPort)
        return std::nullopt;
    const QList<QextPortInfo> ports = ComConnection::getSupportedComs();
    if (ports.isEmpty())
        return ToolFailure{ExitStatus::NoPortFound,
                           tr("--port auto: %1").arg(PortDiagnosis::emptyListReason())};
    if (ports.size() > 1) {
        QStringList names;
        for (const QextPortInfo &port : ports)
            names.append(port.portName);
        return ToolFailure{ExitStatus::UsageError,
                           tr("--port auto: %1 supported USB bridges are plugged in (%2); name one with --port.")
                               .arg(ports.size())
                               .arg(names.join(QStringLiteral(", ")))};
    }
    m_port = ports.constFirst().portName;
    m_console.progress(tr("Using %1, the only supported USB bridge plugged in").arg(m_port));
    return std::nullopt;
}

std::optional<ToolFailure> DeviceReader::prepare(bool simulatorInBootLoader)
{
    if (const auto failure = choosePort())
        return failure;
    if (m_simulatedModel && !m_simulator) {
        if (const auto failure = startSimulator(simulatorInBootLoader))
            return failure;
    }
    if (!m_connection)
        m_connection = std::make_unique<ComConnection>();
    return std::nullopt;
}

ToolFailure DeviceReader::read()
{
    if (const auto failure = prepare())
        return *failure;
    DeviceSession session(*m_connection, m_timeout);
    QObject::connect(&session, &DeviceSession::progress, &session, [this](const QString &line) { m_console.progress(line); });
    QObject::connect(m_interrupts.get(), &InterruptWatcher::interrupted, &session, &DeviceSession::interrupt);
    if (m_interrupts->wasInterrupted())
        return ToolFailure{ExitStatus::Interrupted, tr("Interrupted.")};

    const ToolFailure outcome = session.run(m_port);
    if (outcome.status == ExitStatus::Success) {
        m_record = session.record();
        if (!session.warning().isEmpty())
            m_console.error(session.warning());
    }
    return outcome;
}

ModelData *DeviceReader::record() const
{
    return m_record;
}

bool DeviceReader::wasInterrupted()
{
    return m_interrupts->wasInterrupted();
}
