// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/velotool/ExitStatus.h"

#include <QCoreApplication>
#include <QString>

#include <chrono>
#include <memory>
#include <optional>

class CommandParser;
class ComConnection;
class Console;
class InterruptWatcher;
class ModelData;
class QCommandLineParser;
class SimulatedBikeComputer;

/// What read and export share: the choice of device (--port, or --simulate with a simulated bike
/// computer started in this process), the time limit, and one session that reads the device.
/// Owns the connection, so the record it read stays valid while the reader lives.
/// Ctrl-C is taken from the moment the reader exists until it is gone, so that an interrupt after
/// the read cannot end the process halfway through writing what was read.
class DeviceReader
{
    Q_DECLARE_TR_FUNCTIONS(DeviceReader)

public:
    explicit DeviceReader(Console &console);
    ~DeviceReader();

    DeviceReader(const DeviceReader &) = delete;
    DeviceReader &operator=(const DeviceReader &) = delete;

    /// Adds --port, --simulate and --timeout.
    static void addOptions(QCommandLineParser &parser);
    /// Takes the options of a parsed command line; a failure (a usage error) when they are not usable.
    std::optional<ToolFailure> takeOptions(const QCommandLineParser &parser);
    /// Checks the command's positional arguments, then takes its options; a usage error naming the
    /// command's help when either does not fit.
    std::optional<ToolFailure> takeArguments(const CommandParser &command, int positionalCount,
                                             const QString &missingMessage);

    /// Starts the simulated bike computer if one was asked for, then reads the device.
    /// Ctrl-C during the read closes the session and ends with ExitStatus::Interrupted.
    ToolFailure read();
    /// The record read; null before read() succeeded.
    ModelData *record() const;
    /// Whether Ctrl-C (or SIGTERM) came since the reader was made.
    bool wasInterrupted();
    /// The process has one interrupt watch, the reader's; a command that drives the link itself
    /// (writing values, loading firmware) listens to it too.
    InterruptWatcher &interrupts() const { return *m_interrupts; }

    /// Puts the only supported bridge plugged in in place of --port auto; a failure when there is
    /// none or more than one. prepare() does this itself.
    std::optional<ToolFailure> choosePort();
    /// Starts the simulated bike computer if one was asked for (only its boot loader running,
    /// when asked) and creates the connection; read() does this itself.
    std::optional<ToolFailure> prepare(bool simulatorInBootLoader = false);
    /// Available after prepare().
    ComConnection &connection() const { return *m_connection; }
    QString port() const { return m_port; }
    /// The model id given with --simulate.
    std::optional<quint8> simulatedModel() const { return m_simulatedModel; }
    std::chrono::milliseconds timeout() const { return m_timeout; }

private:
    std::optional<ToolFailure> startSimulator(bool inBootLoader);

    // Made first and gone last: an interrupt while the link shuts down must not end the process.
    std::unique_ptr<InterruptWatcher> m_interrupts;
    Console &m_console;
    QString m_port;
    std::optional<quint8> m_simulatedModel;
    std::chrono::milliseconds m_timeout;
    ModelData *m_record = nullptr;
    // The connection goes first: it closes the port before the simulated device behind it stops.
    std::unique_ptr<SimulatedBikeComputer> m_simulator;
    std::unique_ptr<ComConnection> m_connection;
};
