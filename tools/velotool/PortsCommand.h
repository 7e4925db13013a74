// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkhub/QextPortInfo.h"
#include "tools/velotool/ExitStatus.h"

#include <QCoreApplication>
#include <QList>
#include <QStringList>

class Console;

/// velotool ports: the serial ports behind the supported USB bridges.
class PortsCommand
{
    Q_DECLARE_TR_FUNCTIONS(PortsCommand)

public:
    explicit PortsCommand(Console &console) : m_console(console) {}

    int run(const QStringList &arguments);

    static QString summary();

private:
    /// Prints the ports, or on standard error why there is none.
    ExitStatus list(const QList<QextPortInfo> &ports);
    /// Lists the ports now and after every change, until Ctrl-C.
    int watch();

    Console &m_console;
};
