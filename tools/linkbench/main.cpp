// SPDX-License-Identifier: GPL-3.0-or-later
#include "FirmwareTransferBenchmark.h"
#include "ReadPhaseBenchmark.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QTextStream>

#include <cstdio>

namespace {

constexpr double Goal = 1.05;

/// One line of the table: model, bytes, wire time, best and worst time, best against wire.
template <typename Result>
bool report(QTextStream &out, const char *what, quint8 id, const Result &best, const Result &worst)
{
    const double ratio = double(best.elapsed.count()) / double(best.wireTime.count());
    out << QStringLiteral("%1 0x%2  %3  %4  %5  %6  %7\n")
               .arg(QLatin1String(what), -9)
               .arg(QString::number(id, 16), -4)
               .arg(best.bytesOnWire, 6)
               .arg(best.wireTime.count() / 1000.0, 8, 'f', 1)
               .arg(best.elapsed.count() / 1000.0, 8, 'f', 1)
               .arg(worst.elapsed.count() / 1000.0, 9, 'f', 1)
               .arg(ratio, 9, 'f', 3);
    out.flush();
    return ratio <= Goal;
}

/// Runs a benchmark several times; false (with a line saying why) when a run fails.
template <typename Benchmark>
bool measure(QTextStream &out, const char *what, quint8 id, int runs, bool &allWithinGoal)
{
    typename Benchmark::Result best, worst;
    for (int run = 0; run < runs; ++run) {
        const typename Benchmark::Result result = Benchmark::run(id);
        if (!result.completed) {
            out << what << " of model 0x" << QString::number(id, 16) << " failed: " << result.failure << "\n";
            return false;
        }
        if (run == 0 || result.elapsed < best.elapsed)
            best = result;
        if (run == 0 || result.elapsed > worst.elapsed)
            worst = result;
    }
    allWithinGoal = report(out, what, id, best, worst) && allWithinGoal;
    return true;
}

} // namespace

// Prints, per supported model, the time from open() to the last answer of the read phase, and per
// model family the time of a whole firmware transfer, beside the wire time of the same bytes.
// Goal: within 1.05 times the wire time.
int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    QTextStream out(stdout);
    constexpr int ReadRuns = 5;
    constexpr int TransferRuns = 1; // a transfer takes about a minute at 9600 baud
    bool allWithinGoal = true;

    out << "phase     model   bytes  wire ms   best ms  worst ms  best/wire\n";
    for (quint8 id : {quint8(0x21), quint8(0x22), quint8(0x23), quint8(0x51)}) {
        if (!measure<ReadPhaseBenchmark>(out, "read", id, ReadRuns, allWithinGoal))
            return 1;
    }
    // One model of each firmware family: 24 blocks from 0x4000, 28 blocks from 0x2000.
    for (quint8 id : {quint8(0x23), quint8(0x51)}) {
        if (!measure<FirmwareTransferBenchmark>(out, "firmware", id, TransferRuns, allWithinGoal))
            return 1;
    }
    out << (allWithinGoal ? "within" : "NOT within") << " the goal of " << Goal << " times the wire time\n";
    return allWithinGoal ? 0 : 2;
}
