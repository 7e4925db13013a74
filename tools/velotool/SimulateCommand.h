// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QStringList>

class Console;

/// velotool simulate: a simulated bike computer on a pseudo-terminal, served until Ctrl-C.
class SimulateCommand
{
    Q_DECLARE_TR_FUNCTIONS(SimulateCommand)

public:
    explicit SimulateCommand(Console &console) : m_console(console) {}

    int run(const QStringList &arguments);

    static QString summary();

private:
    int writeRecord(const QString &path);

    Console &m_console;
};
