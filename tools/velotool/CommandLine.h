// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QStringList>

class Console;

/// Picks the command from the first argument and hands it the rest.
class CommandLine
{
    Q_DECLARE_TR_FUNCTIONS(CommandLine)

public:
    explicit CommandLine(Console &console) : m_console(console) {}

    /// Runs the command named in `arguments` (the program's arguments, program name first);
    /// returns the exit status.
    int run(const QStringList &arguments);

    QString helpText() const;

private:
    Console &m_console;
};
