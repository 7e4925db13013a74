// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QStringList>

class Console;

/// velotool odometer: writes one bike's total distance and reads it back.
class OdometerCommand
{
    Q_DECLARE_TR_FUNCTIONS(OdometerCommand)

public:
    explicit OdometerCommand(Console &console) : m_console(console) {}

    int run(const QStringList &arguments);

    static QString summary();

private:
    Console &m_console;
};
