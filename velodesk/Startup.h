// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QStringList>

#include <memory>

class QWidget;
class WireLogFile;

/// The steps the program takes before its event loop runs.
class Startup
{
public:
    /// The top-level windows the command line can ask for.
    enum class Window {
        Wizard,
        Legacy,
    };

    /// Writes the compiler, toolkit and program versions to the debug stream.
    static void logVersions();
    /// Sets the application name, version and organization; this fixes where the settings live.
    static void setIdentity();
    /// Registers the value types that travel through queued signals from the device link.
    static void registerMetaTypes();
    /// The window asked for by the process arguments (program name first).
    static Window selectWindow(const QStringList &arguments);
    /// The file named by "--log FILE" (or "--log=FILE") for the device link's transfer log;
    /// empty when none is asked for. The option does not change the window chosen.
    static QString logPath(const QStringList &arguments);
    /// Starts the transfer log the arguments ask for; null when none is asked for, or when the
    /// file cannot be written, which a message box tells the user. Must outlive the window.
    static std::unique_ptr<WireLogFile> startWireLog(const QStringList &arguments);
    /// Creates the window that the arguments ask for, without a parent; the caller owns it.
    static QWidget *createWindow(const QStringList &arguments);
};
