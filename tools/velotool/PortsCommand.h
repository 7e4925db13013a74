#pragma once

#include <QCoreApplication>
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
    Console &m_console;
};
