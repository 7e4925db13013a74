// SPDX-License-Identifier: GPL-3.0-or-later
#include "VelotoolProcess.h"

#include <QDir>
#include <QRegularExpression>

#include <csignal>
#include <grp.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

constexpr uid_t Nobody = 65534;

// LeakSanitizer's table of the suppressions it used: a heading between two rules of dashes, at
// the very end of standard error. The product never prints such a rule.
const QRegularExpression SuppressionTable(
    QStringLiteral("(^|\\n)-{10,}\\nSuppressions used:\\n.*$"),
    QRegularExpression::DotMatchesEverythingOption);

} // namespace

QStringList VelotoolRun::errLines() const
{
    QStringList lines = err.split(QLatin1Char('\n'));
    lines.removeAll(QString());
    return lines;
}

QString VelotoolRun::lastErrLine() const
{
    const QStringList lines = errLines();
    return lines.isEmpty() ? QString() : lines.constLast();
}

QString VelotoolProcess::program()
{
    return QStringLiteral(VELOTOOL_PATH);
}

void VelotoolProcess::start(QProcess &process, const QStringList &arguments, const ChildSetup &setup)
{
    process.setProgram(program());
    process.setArguments(arguments);
    process.setWorkingDirectory(QDir::rootPath());
    if (setup)
        process.setChildProcessModifier(setup);
    process.start();
}

VelotoolRun VelotoolProcess::run(const QStringList &arguments, const ChildSetup &setup,
                                 std::chrono::milliseconds limit)
{
    QProcess process;
    start(process, arguments, setup);
    const bool finished = process.waitForFinished(int(limit.count()));
    if (!finished) {
        process.kill();
        process.waitForFinished();
    }
    return collect(process, finished);
}

VelotoolRun VelotoolProcess::collect(QProcess &process, bool finished)
{
    VelotoolRun result;
    result.finished = finished;
    result.crashed = process.exitStatus() == QProcess::CrashExit;
    result.exitCode = process.exitCode();
    result.out = QString::fromUtf8(process.readAllStandardOutput());
    result.err = QString::fromUtf8(process.readAllStandardError());
    const QRegularExpressionMatch table = SuppressionTable.match(result.err);
    if (table.hasMatch()) {
        const qsizetype tableStart = table.capturedStart() + table.capturedLength(1);
        result.sanitizerStatistics = result.err.mid(tableStart);
        result.err.truncate(tableStart);
    }
    return result;
}

void VelotoolProcess::dropRootInChild()
{
    if (::geteuid() != 0)
        return;
    ::setgroups(0, nullptr);
    if (::setgid(Nobody) != 0 || ::setuid(Nobody) != 0)
        ::_exit(126);
}

void VelotoolProcess::limitFileSizeInChild(long bytes)
{
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit limit{rlim_t(bytes), rlim_t(bytes)};
    ::setrlimit(RLIMIT_FSIZE, &limit);
}

bool VelotoolProcess::canRunAsNobody()
{
    const VelotoolRun version = run({QStringLiteral("--version")}, [] { dropRootInChild(); });
    return version.finished && version.exitCode == 0;
}

bool VelotoolProcess::runningAsRoot()
{
    return ::geteuid() == 0;
}
