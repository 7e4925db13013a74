// SPDX-License-Identifier: GPL-3.0-or-later
#include "LaunchTimer.h"

#include "logbook/Logbook.h"
#include "logbook/RideEntry.h"
#include "logbook/RideRecorder.h"

#include <QCoreApplication>
#include <QDate>
#include <QSettings>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>

// startbench [ROUNDS]: a bare one-page wizard and velodesk alternately, each in a fresh process,
// and the times from launch to the first painted window: velodesk as on its first start (the
// introduction page first) and as on later ones (the connect page first). Goal: velodesk within
// 1.3 times the bare wizard.
// startbench logbook [ROUNDS]: velobook on an empty logbook and on one of 100 000 rides. Goal: the
// long logbook within 1.3 times the empty one.
namespace {

constexpr double Goal = 1.3;
constexpr int DefaultRounds = 15;
constexpr int LongLogbookRides = 100000;

struct Contender
{
    QString name;
    QString program;
    QStringList arguments;
    QString settingsFolder;
    QList<double> times;
};

// One run of each first, unmeasured, so that all find the libraries in the page cache; then the
// contenders alternately, so that a busy moment of the machine falls on all of them alike.
bool race(QList<Contender> &contenders, int rounds)
{
    for (int round = -1; round < rounds; ++round) {
        for (Contender &contender : contenders) {
            const std::optional<double> time =
                LaunchTimer::firstPaint(contender.program, contender.arguments, contender.settingsFolder);
            if (!time)
                return false;
            if (round >= 0)
                contender.times.append(*time);
        }
    }
    return true;
}

// Against the first contender; true when every other one is within the goal.
bool report(QTextStream &out, const QList<Contender> &contenders, int rounds, const QString &goal)
{
    out << QStringLiteral("platform %1, %2 runs each, launch to first painted window:\n")
               .arg(LaunchTimer::platform())
               .arg(rounds);
    const double baseline = LaunchTimer::median(contenders.first().times);
    bool withinGoal = true;
    for (const Contender &contender : contenders) {
        const double ratio = LaunchTimer::median(contender.times) / baseline;
        withinGoal = withinGoal && ratio <= Goal;
        out << QStringLiteral("  %1 median %2 ms  best %3 ms  ratio %4\n")
                   .arg(contender.name, -34)
                   .arg(LaunchTimer::median(contender.times), 6, 'f', 1)
                   .arg(LaunchTimer::best(contender.times), 6, 'f', 1)
                   .arg(ratio, 0, 'f', 2);
    }
    out << QStringLiteral("goal: %1 within %2 times: %3\n")
               .arg(goal)
               .arg(Goal)
               .arg(withinGoal ? QStringLiteral("met") : QStringLiteral("missed"));
    return withinGoal;
}

int compareWizards(QTextStream &out, int rounds)
{
    QTemporaryDir firstStart, laterStart;
    QSettings(laterStart.filePath(QStringLiteral("Velquist/Pacerow.conf")), QSettings::IniFormat)
        .setValue(QStringLiteral("show_intro"), false);
    const QString velodesk = QStringLiteral(VELODESK_PATH);
    QList<Contender> contenders{
        {QStringLiteral("bare wizard"), QStringLiteral(BAREWIZARD_PATH), {}, firstStart.path(), {}},
        {QStringLiteral("velodesk, introduction page first"), velodesk, {}, firstStart.path(), {}},
        {QStringLiteral("velodesk, connect page first"), velodesk, {}, laterStart.path(), {}},
    };
    if (!race(contenders, rounds)) {
        out << "a window did not open\n";
        return 1;
    }
    return report(out, contenders, rounds, QStringLiteral("velodesk against the bare wizard")) ? 0 : 1;
}

// Two rides a day, one of each bike, back from today.
bool fillLogbook(Logbook &logbook, int rides)
{
    return !logbook.change([&](QSqlDatabase &db) -> std::optional<LogbookError> {
        QSqlQuery insert(db);
        insert.prepare(RideRecorder::insertStatement());
        const QString now = RideRecorder::now();
        const QDate today = QDate::currentDate();
        RideEntry ride;
        ride.device = ride.model = QStringLiteral("Lumo 60");
        for (int i = 0; i < rides; ++i) {
            ride.date = today.addDays(-i / 2);
            ride.bike = 1 + i % 2;
            ride.setValue(RideValue::Distance, 20000000 + (i % 977) * 61000);
            ride.setValue(RideValue::RideTime, 2400 + (i % 613) * 9);
            ride.setValue(RideValue::AvgSpeed, 180 + i % 120);
            ride.setValue(RideValue::Ascent, i % 900);
            RideRecorder::bindInsert(insert, ride, now);
            if (!insert.exec())
                return logbook.error(insert.lastError());
        }
        return std::nullopt;
    });
}

int compareLogbooks(QTextStream &out, int rounds)
{
    QTemporaryDir folder;
    const QString emptyPath = folder.filePath(QStringLiteral("empty.sqlite"));
    const QString longPath = folder.filePath(QStringLiteral("long.sqlite"));
    {
        Logbook empty(emptyPath), full(longPath);
        if (empty.open() || full.open() || !fillLogbook(full, LongLogbookRides)) {
            out << "the logbooks could not be written in " << folder.path() << "\n";
            return 1;
        }
    }
    const QString velobook = QStringLiteral(VELOBOOK_PATH);
    QList<Contender> contenders{
        {QStringLiteral("velobook, empty logbook"), velobook, {emptyPath}, folder.path(), {}},
        {QStringLiteral("velobook, 100 000 rides"), velobook, {longPath}, folder.path(), {}},
    };
    if (!race(contenders, rounds)) {
        out << "a window did not open\n";
        return 1;
    }
    return report(out, contenders, rounds, QStringLiteral("100 000 rides against the empty logbook")) ? 0 : 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QStringList arguments = QCoreApplication::arguments().mid(1);
    const bool logbook = !arguments.isEmpty() && arguments.first() == QLatin1String("logbook");
    if (logbook)
        arguments.removeFirst();
    const int rounds = arguments.isEmpty() ? DefaultRounds : std::max(1, arguments.first().toInt());
    return logbook ? compareLogbooks(out, rounds) : compareWizards(out, rounds);
}
