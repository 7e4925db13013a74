// SPDX-License-Identifier: GPL-3.0-or-later
#include "FirstPaintProbe.h"

#include <QCoreApplication>
#include <QDir>
#include <QSettings>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <chrono>
#include <optional>

// Starts a bare one-page wizard and velodesk alternately, each in a fresh process, and compares
// the times from launch to the first painted window: velodesk as on its first start (the
// introduction page first) and as on later ones (the connect page first).
// Goal: velodesk within 1.3 times the bare wizard. Runs on the display it is given
// (QT_QPA_PLATFORM and DISPLAY as set; offscreen when neither is).
namespace {

constexpr double Goal = 1.3;
constexpr int DefaultRounds = 15;
constexpr std::chrono::milliseconds RunLimit{30000};

std::optional<double> timeFirstPaint(const QString &program, const QString &settingsFolder)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    // Nothing of the user's settings is read or touched.
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), settingsFolder);
    if (!environment.contains(QStringLiteral("DISPLAY")) && !environment.contains(QStringLiteral("QT_QPA_PLATFORM")))
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QString::fromLatin1(FirstPaintProbe::LaunchVariable),
                       QString::number(std::chrono::steady_clock::now().time_since_epoch().count()));
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(program, {});
    if (!process.waitForFinished(int(RunLimit.count())) || process.exitCode() != 0)
        return std::nullopt;
    bool isNumber = false;
    const double ms = QString::fromLatin1(process.readAllStandardOutput()).trimmed().toDouble(&isNumber);
    return isNumber ? std::optional<double>(ms) : std::nullopt;
}

double median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    const qsizetype middle = values.size() / 2;
    return values.size() % 2 ? values.at(middle) : (values.at(middle - 1) + values.at(middle)) / 2;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const int rounds = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : DefaultRounds;
    QTemporaryDir firstStart, laterStart;
    QSettings(laterStart.filePath(QStringLiteral("Velquist/Pacerow.conf")), QSettings::IniFormat)
        .setValue(QStringLiteral("show_intro"), false);
    const QString platform = qEnvironmentVariableIsSet("QT_QPA_PLATFORM") ? qEnvironmentVariable("QT_QPA_PLATFORM")
                             : qEnvironmentVariableIsSet("DISPLAY")        ? QStringLiteral("xcb")
                                                                            : QStringLiteral("offscreen");

    QList<double> bare, first, later;
    // One of each first, unmeasured, so all find the libraries in the page cache.
    for (int round = -1; round < rounds; ++round) {
        const std::optional<double> bareTime = timeFirstPaint(QStringLiteral(BAREWIZARD_PATH), firstStart.path());
        const std::optional<double> firstTime = timeFirstPaint(QStringLiteral(VELODESK_PATH), firstStart.path());
        const std::optional<double> laterTime = timeFirstPaint(QStringLiteral(VELODESK_PATH), laterStart.path());
        if (!bareTime || !firstTime || !laterTime) {
            out << "a window did not open\n";
            return 1;
        }
        if (round >= 0) {
            bare.append(*bareTime);
            first.append(*firstTime);
            later.append(*laterTime);
        }
    }
    out << QStringLiteral("platform %1, %2 runs each, launch to first painted window:\n").arg(platform).arg(rounds);
    const auto report = [&](const QString &name, const QList<double> &times) {
        out << QStringLiteral("  %1 median %2 ms  best %3 ms  ratio %4\n")
                   .arg(name, -34)
                   .arg(median(times), 6, 'f', 1)
                   .arg(*std::min_element(times.cbegin(), times.cend()), 6, 'f', 1)
                   .arg(median(times) / median(bare), 0, 'f', 2);
    };
    report(QStringLiteral("bare wizard"), bare);
    report(QStringLiteral("velodesk, introduction page first"), first);
    report(QStringLiteral("velodesk, connect page first"), later);
    const bool withinGoal = median(first) / median(bare) <= Goal && median(later) / median(bare) <= Goal;
    out << QStringLiteral("goal: velodesk within %1 times the bare wizard: %2\n")
               .arg(Goal)
               .arg(withinGoal ? QStringLiteral("met") : QStringLiteral("missed"));
    return withinGoal ? 0 : 1;
}
