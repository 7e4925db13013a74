// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QStringList>

class Console;

/// velotool firmware: loads a firmware image into a bike computer, after a confirmation.
class FirmwareCommand
{
    Q_DECLARE_TR_FUNCTIONS(FirmwareCommand)

public:
    explicit FirmwareCommand(Console &console) : m_console(console) {}

    int run(const QStringList &arguments);

    static QString summary();

private:
    /// Asks on the terminal; true when the user typed "yes".
    bool confirmed(const QString &question);

    Console &m_console;
};
