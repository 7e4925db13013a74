// SPDX-License-Identifier: GPL-3.0-or-later
#include "ProcessRun.h"

#include <QCoreApplication>
#include <QDate>
#include <QFile>
#include <QLocale>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <functional>

namespace {

constexpr int Rides = 100000;
constexpr int RidesPerDay = 10;
constexpr int Runs = 5;
constexpr double TimeGoal = 2.0; // times the shell's
constexpr qint64 MemoryGoalKiB = 64 * 1024;

// The product's log: the unit column, the date in the export's form, and 25 values, "; " apart.
void writeLog(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return;
    QTextStream log(&file);
    log << "Unit; Date; Ride time; Total Distance; Total kcal; Avg. Speed; Max. Speed; Avg. Cadence; Max. Cadence; "
           "Daily max. Temp.; Daily min. Temp.; Avg. heart rate (bpm); Max. heart rate (bpm); Time in heart rate zone; "
           "Time lower heart rate zone; Time upper heart rate zone; Max. altitude; Alt. Gain; Alt. loss; "
           "Avg. Asc. Gradient; Max. Asc. Gradient; Avg. Desc. Gradient; Max. Desc. Gradient; Avg. Asc. Vario; "
           "Max. Asc. Vario; Avg. Desc. Vario; Max. Desc. Vario";
    const QDate first(1999, 1, 1);
    const QLocale english = QLocale::c();
    for (int i = 0; i < Rides; ++i) {
        const QDate day = first.addDays(i / RidesPerDay);
        log << "\nkm/kmph/meter/Celsius; " << english.toString(day, QStringLiteral("ddd MMM d")) << " 09:30:00 "
            << day.year() << "; 01:" << QString::number(i % 60).rightJustified(2, QLatin1Char('0')) << ":00; "
            << QString::number(10 + (i % RidesPerDay) * 7.5 + i % 997 / 1000.0, 'f', 3)
            << "; 800; 25.5; 48.0; 80; 110; 21; 9; 130; 171; 00:40:00; 00:10:00; 00:05:00; 812.0; "
            << (i % 1500) << ".0; 655.0; 4; 11; 5; 12; 600; 1500; 700; 1700";
    }
}

QString valueColumns()
{
    QStringList columns;
    for (int i = 1; i <= 27; ++i)
        columns << QStringLiteral("c%1").arg(i);
    return columns.join(QStringLiteral(", "));
}

// The same grouping velotool's totals make, written out for the shell.
const QString WeekTotals = QStringLiteral(
    "SELECT strftime('%Y', date(day, '-3 days', 'weekday 4')) || '-W' || "
    "printf('%02d', (strftime('%j', date(day, '-3 days', 'weekday 4')) - 1) / 7 + 1) AS period, "
    "count(*), sum(distance), sum(ride_time), sum(ascent), sum(kcal) FROM rides GROUP BY period ORDER BY period;");
const QString NewestRides = QStringLiteral(
    "SELECT * FROM (SELECT * FROM rides ORDER BY day DESC, id DESC LIMIT 100) ORDER BY day, id;");

struct Best
{
    double ms = 0;
    qint64 peakKiB = 0;
    bool ok = true;
};

// Best wall time of the runs; `prepare` runs untimed before each.
Best best(const std::function<ProcessRun()> &work, const std::function<void()> &prepare = {})
{
    Best result;
    for (int run = 0; run < Runs; ++run) {
        if (prepare)
            prepare();
        const ProcessRun one = work();
        result.ok = result.ok && one.ok;
        result.ms = run == 0 ? one.wallMs : std::min(result.ms, one.wallMs);
        result.peakKiB = std::max(result.peakKiB, one.peakKiB);
    }
    return result;
}

} // namespace

// Imports a log of 100 000 rides with velotool and with the sqlite3 shell's .import, then sums
// them by week and lists the newest 100 with each. Every figure is the best of five runs of the
// whole process. Goals: velotool within twice the shell's time, the import under 64 MB.
int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const QString velotool = QStringLiteral(VELOTOOL_PATH);
    const QString shell = QStandardPaths::findExecutable(QStringLiteral("sqlite3"));
    if (shell.isEmpty()) {
        out << "The sqlite3 shell is needed (Debian package sqlite3).\n";
        return 1;
    }
    QTemporaryDir folder;
    const QString log = folder.filePath(QStringLiteral("rides.csv"));
    const QString logbook = folder.filePath(QStringLiteral("logbook.sqlite"));
    const QString table = folder.filePath(QStringLiteral("table.sqlite"));
    const QString script = folder.filePath(QStringLiteral("import.sql"));
    writeLog(log);
    {
        QFile file(script);
        if (!file.open(QIODevice::WriteOnly))
            return 1;
        QTextStream(&file) << "CREATE TABLE log (" << valueColumns() << ");\n.separator ;\n.import --skip 1 " << log
                           << " log\n";
    }
    const auto fresh = [](const QString &path) {
        return [path] {
            for (const char *suffix : {"", "-wal", "-shm"})
                QFile::remove(path + QLatin1String(suffix));
        };
    };

    const Best ourImport = best([&] { return ProcessRun::run(velotool, {"logbook", "import", "--logbook", logbook, log}); },
                                fresh(logbook));
    const Best shellImport = best([&] { return ProcessRun::run(shell, {table}, script); }, fresh(table));
    const Best ourTotals = best([&] { return ProcessRun::run(velotool, {"logbook", "totals", "--by", "week", "--logbook", logbook}); });
    const Best shellTotals = best([&] { return ProcessRun::run(shell, {logbook, WeekTotals}); });
    const Best ourList = best([&] { return ProcessRun::run(velotool, {"logbook", "list", "--last", "100", "--logbook", logbook}); });
    const Best shellList = best([&] { return ProcessRun::run(shell, {logbook, NewestRides}); });

    out << "Logbook of " << Rides << " rides, best of " << Runs << " runs of the whole process\n";
    out << QStringLiteral("%1 %2 %3 %4 %5\n").arg(QString(), -22).arg("velotool", 10).arg("sqlite3", 10).arg("ratio", 7).arg("goal", 6);
    bool met = true;
    const auto row = [&](const QString &name, const Best &ours, const Best &theirs) {
        const double ratio = ours.ms / theirs.ms;
        const bool ok = ours.ok && theirs.ok && ratio <= TimeGoal;
        met = met && ok;
        out << QStringLiteral("%1 %2 %3 %4 %5\n")
                   .arg(name, -22)
                   .arg(QStringLiteral("%1 ms").arg(ours.ms, 0, 'f', 0), 10)
                   .arg(QStringLiteral("%1 ms").arg(theirs.ms, 0, 'f', 0), 10)
                   .arg(QStringLiteral("%1x").arg(ratio, 0, 'f', 2), 7)
                   .arg(ok ? QStringLiteral("met") : QStringLiteral("MISSED"), 6);
    };
    row(QStringLiteral("import (.import)"), ourImport, shellImport);
    row(QStringLiteral("totals --by week"), ourTotals, shellTotals);
    row(QStringLiteral("list, newest 100"), ourList, shellList);
    const bool memoryOk = ourImport.peakKiB < MemoryGoalKiB;
    met = met && memoryOk;
    out << QStringLiteral("import peak memory: velotool %1 MB, sqlite3 %2 MB (goal under %3 MB: %4)\n")
               .arg(ourImport.peakKiB / 1024.0, 0, 'f', 1)
               .arg(shellImport.peakKiB / 1024.0, 0, 'f', 1)
               .arg(MemoryGoalKiB / 1024)
               .arg(memoryOk ? QStringLiteral("met") : QStringLiteral("MISSED"));
    return met ? 0 : 2;
}
