// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QStringList>

class Console;
struct ParsedRecord;

/// velotool convert: turns a raw ride record of the device into a FIT activity file.
class ConvertCommand
{
    Q_DECLARE_TR_FUNCTIONS(ConvertCommand)

public:
    explicit ConvertCommand(Console &console) : m_console(console) {}

    int run(const QStringList &arguments);

    static QString summary();

private:
    static QString summaryText(const ParsedRecord &record);
    static QString json(const ParsedRecord &record);

    Console &m_console;
};
