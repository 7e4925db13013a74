// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

/// Keeps the device link's diagnostic lines (debug lines such as "poll thread started",
/// protocol complaints such as "Timeout") off the terminal unless asked for: velotool says
/// what happened in its own words. Warnings of values left out of a FIT file always show.
class LinkDiagnostics
{
public:
    /// Installs the filter in front of Qt's message handler; diagnostics start hidden.
    static void install();
    static void setShown(bool shown);

private:
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &message);
};
