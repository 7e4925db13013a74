// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QDateTime>
#include <QStringList>

#include <optional>

class Console;
class ModelData;

/// velotool clock: sets the device clock to the PC's local time (or a given one) and reads it back.
class ClockCommand
{
    Q_DECLARE_TR_FUNCTIONS(ClockCommand)

public:
    explicit ClockCommand(Console &console) : m_console(console) {}

    int run(const QStringList &arguments);

    static QString summary();
    /// "YYYY-MM-DD HH:MM:SS" as local time, within the years the device counts (2000 to 2255).
    static std::optional<QDateTime> parseTime(const QString &text);
    /// The clock as the device holds it: date and time, or the time of day for a model without a date.
    static QString clockText(const ModelData &record);

private:
    Console &m_console;
};
