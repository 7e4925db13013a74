// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>

/// What one run of the built velotool program did.
struct VelotoolRun
{
    bool finished = false; ///< false when it had to be killed after the time limit
    bool crashed = false;
    int exitCode = -1;
    QString out;
    /// Standard error as velotool wrote it, without the statistics a sanitizer adds at exit.
    QString err;
    /// What a sanitizer appended to standard error at exit (its table of suppressions used).
    QString sanitizerStatistics;

    /// Standard error, line by line, without empty lines.
    QStringList errLines() const;
    /// The last line on standard error: where velotool reports a failure.
    QString lastErrLine() const;
};

/// Runs the built velotool program as a user runs it, with the test's environment.
class VelotoolProcess
{
public:
    /// Longest a run may take: a silent device is given up well before.
    static constexpr std::chrono::milliseconds RunLimit{60000};

    /// Runs in the child between fork and exec; only async-signal-safe calls belong there.
    using ChildSetup = std::function<void()>;

    static QString program();
    /// Runs velotool with the arguments and waits for it to end, at most `limit`.
    static VelotoolRun run(const QStringList &arguments, const ChildSetup &setup = {},
                           std::chrono::milliseconds limit = RunLimit);
    /// Starts velotool without waiting; the caller owns the process.
    static void start(QProcess &process, const QStringList &arguments, const ChildSetup &setup = {});
    /// What a process that has ended wrote and how it ended; `finished` false when it was killed.
    static VelotoolRun collect(QProcess &process, bool finished);

    /// In the child: as root, take the identity of the user "nobody", so that permission checks
    /// apply; anyone else keeps their own.
    static void dropRootInChild();
    /// In the child: files may not grow past this size; writing beyond fails instead of killing.
    static void limitFileSizeInChild(long bytes);
    /// Whether a child started as "nobody" can run velotool at all (the build folder may be closed to it).
    static bool canRunAsNobody();
    static bool runningAsRoot();
};
