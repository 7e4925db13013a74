// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/velotool/ExitStatus.h"

#include <QString>
#include <QTextStream>

/// Where velotool writes: results to standard output, progress and failures to standard error.
/// Every line is flushed at once, so that a program reading the output sees it without delay.
class Console
{
public:
    Console();

    Console(const Console &) = delete;
    Console &operator=(const Console &) = delete;

    void setQuiet(bool quiet) { m_quiet = quiet; }
    bool isQuiet() const { return m_quiet; }

    /// A result line (or several) on standard output.
    void print(const QString &text);
    /// A progress line on standard error, unless quiet.
    void progress(const QString &line);
    /// A line on standard error that is shown even when quiet.
    void error(const QString &line);
    /// Reports a failure that ends a command; its exit status.
    int fail(const ToolFailure &failure);
    /// A progress line on standard error that replaces the previous one (on a terminal), unless quiet.
    void overwrite(const QString &line);
    /// Ends a line that overwrite() keeps replacing, so the next output starts on a line of its own.
    void endOverwrite();

private:
    QTextStream m_out;
    QTextStream m_err;
    bool m_quiet = false;
    bool m_overwriting = false;
};
