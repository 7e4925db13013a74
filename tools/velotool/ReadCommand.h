// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QStringList>

class Console;

/// velotool read: reads every value of the device and prints them, as text or JSON.
class ReadCommand
{
    Q_DECLARE_TR_FUNCTIONS(ReadCommand)

public:
    explicit ReadCommand(Console &console) : m_console(console) {}

    int run(const QStringList &arguments);

    static QString summary();

private:
    Console &m_console;
};
