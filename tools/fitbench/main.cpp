// SPDX-License-Identifier: GPL-3.0-or-later
#include "DayRecord.h"
#include "PeakMemory.h"

#include "outpost/Outposter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QTextStream>

#include <ctime>
#include <functional>
#include <sstream>

namespace {

constexpr int Runs = 7;
constexpr double GoalMs = 100;
constexpr double MemoryGoal = 3.0; // times the output size

// Time this thread spent on the processor, which other programs on a busy machine do not inflate.
double cpuMs()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return now.tv_sec * 1e3 + now.tv_nsec / 1e6;
}

struct Measure
{
    double bestMs = 0;
    double bestCpuMs = 0;
    qint64 peakBytes = 0; ///< above the resident size before the first run
};

// The first run is measured for memory, while nothing of it is cached yet; every run for time.
Measure measure(const std::function<void()> &work)
{
    Measure result;
    PeakMemory::reset();
    const qint64 before = PeakMemory::resident();
    for (int run = 0; run < Runs; ++run) {
        QElapsedTimer timer;
        timer.start();
        const double cpuStart = cpuMs();
        work();
        const double ms = timer.nsecsElapsed() / 1e6;
        const double cpu = cpuMs() - cpuStart;
        if (run == 0) {
            result.peakBytes = PeakMemory::peak() - before;
            result.bestMs = ms;
            result.bestCpuMs = cpu;
        }
        result.bestMs = std::min(result.bestMs, ms);
        result.bestCpuMs = std::min(result.bestCpuMs, cpu);
    }
    return result;
}

} // namespace

// Converts a day of samples (86 400 at 1 s) to FIT in memory and to a file. Goal: under 100 ms
// for the whole conversion, and memory under three times the output size. The goal is judged on
// the wall-clock time; the processor time beside it tells a busy machine from a slow conversion.
int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QByteArray record = DayRecord::make();

    qint64 outputSize = 0;
    const Measure inMemory = measure([&] {
        std::stringstream stream(std::ios::in | std::ios::out | std::ios::binary);
        if (Outposter::exportToStream(stream, record) == 0)
            outputSize = qint64(stream.tellp());
    });

    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("day.fit"));
    bool fileWritten = false;
    const Measure toFile = measure([&] { fileWritten = Outposter::exportToFit(path, record) == 0; });
    if (outputSize == 0 || !fileWritten || QFileInfo(path).size() != outputSize) {
        out << "the conversion failed\n";
        return 1;
    }

    out << "raw record " << record.size() << " bytes, " << DayRecord::Samples << " samples; FIT file " << outputSize
        << " bytes\n";
    out << "target     best ms    CPU ms   samples/s   peak MB   peak/output\n";
    bool withinGoals = true;
    for (const auto &[name, m] : {std::pair{"memory", inMemory}, std::pair{"file  ", toFile}}) {
        const double ratio = double(m.peakBytes) / double(outputSize);
        withinGoals = withinGoals && m.bestMs < GoalMs && ratio < MemoryGoal;
        out << QStringLiteral("%1  %2  %3  %4  %5  %6\n")
                   .arg(QString::fromLatin1(name))
                   .arg(m.bestMs, 10, 'f', 1)
                   .arg(m.bestCpuMs, 8, 'f', 1)
                   .arg(DayRecord::Samples / (m.bestMs / 1000), 10, 'f', 0)
                   .arg(m.peakBytes / 1e6, 8, 'f', 2)
                   .arg(ratio, 12, 'f', 2);
    }
    out << (withinGoals ? "within the goals (under 100 ms, memory under 3 times the output)\n"
                        : "NOT within the goals (under 100 ms, memory under 3 times the output)\n");
    return withinGoals ? 0 : 2;
}
