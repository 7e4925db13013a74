// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/velotool/ExitStatus.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QStringList>

#include <optional>

class Console;

/// velotool export: reads the device and writes one bike's ride as a FIT file or a CSV log line,
/// as the desktop program's export does.
class ExportCommand
{
    Q_DECLARE_TR_FUNCTIONS(ExportCommand)

public:
    explicit ExportCommand(Console &console) : m_console(console) {}

    int run(const QStringList &arguments);

    static QString summary();
    /// The local date-time of "YYYY-MM-DD HH:MM" (seconds may follow), or nothing.
    static std::optional<QDateTime> parseStart(const QString &text);

private:
    Console &m_console;
};
