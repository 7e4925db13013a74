#include "ReadPhaseBenchmark.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <QTextStream>

#include <cstdio>

// Prints, per model, the time from open() to the last answer of the read phase beside the
// wire time of the same bytes. Goal: within 1.25 times the wire time.
int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
    QTextStream out(stdout);
    constexpr double Goal = 1.25;
    constexpr int Runs = 5;
    bool allWithinGoal = true;

    out << "model     bytes  wire ms  best ms  worst ms  best/wire\n";
    for (quint8 id : {quint8(0x51), quint8(0x21)}) {
        ReadPhaseBenchmark::Result best, worst;
        for (int run = 0; run < Runs; ++run) {
            const ReadPhaseBenchmark::Result result = ReadPhaseBenchmark::run(id);
            if (!result.completed) {
                out << "model 0x" << QString::number(id, 16) << " failed: " << result.failure << "\n";
                return 1;
            }
            if (run == 0 || result.elapsed < best.elapsed)
                best = result;
            if (run == 0 || result.elapsed > worst.elapsed)
                worst = result;
        }
        const double ratio = double(best.elapsed.count()) / double(best.wireTime.count());
        allWithinGoal = allWithinGoal && ratio <= Goal;
        out << QStringLiteral("0x%1  %2  %3  %4  %5  %6\n")
                   .arg(QString::number(id, 16), -6)
                   .arg(best.bytesOnWire, 5)
                   .arg(best.wireTime.count() / 1000.0, 7, 'f', 1)
                   .arg(best.elapsed.count() / 1000.0, 7, 'f', 1)
                   .arg(worst.elapsed.count() / 1000.0, 8, 'f', 1)
                   .arg(ratio, 9, 'f', 3);
    }
    out << (allWithinGoal ? "within" : "NOT within") << " the goal of " << Goal << " times the wire time\n";
    return allWithinGoal ? 0 : 2;
}
