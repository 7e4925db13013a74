// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

/// One run of a program as a whole process: from its start to its end, with its peak memory.
struct ProcessRun
{
    bool ok = false; ///< started and ended with status 0
    double wallMs = 0;
    qint64 peakKiB = 0; ///< the child's highest resident size

    /// Runs `program` with `arguments`, standard input from `input` (or nothing) and its output
    /// thrown away, and waits for it.
    static ProcessRun run(const QString &program, const QStringList &arguments, const QString &input = QString());
};
