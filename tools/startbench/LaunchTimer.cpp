// SPDX-License-Identifier: GPL-3.0-or-later
#include "LaunchTimer.h"

#include "FirstPaintProbe.h"

#include <QProcess>
#include <QProcessEnvironment>

#include <algorithm>
#include <chrono>

namespace {
constexpr std::chrono::milliseconds RunLimit{30000};
}

std::optional<double> LaunchTimer::firstPaint(const QString &program, const QStringList &arguments,
                                              const QString &settingsFolder)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_CONFIG_HOME"), settingsFolder);
    if (!environment.contains(QStringLiteral("DISPLAY")) && !environment.contains(QStringLiteral("QT_QPA_PLATFORM")))
        environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    environment.insert(QString::fromLatin1(FirstPaintProbe::LaunchVariable),
                       QString::number(std::chrono::steady_clock::now().time_since_epoch().count()));
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::SeparateChannels);
    process.start(program, arguments);
    if (!process.waitForFinished(int(RunLimit.count())) || process.exitCode() != 0)
        return std::nullopt;
    bool isNumber = false;
    const double ms = QString::fromLatin1(process.readAllStandardOutput()).trimmed().toDouble(&isNumber);
    return isNumber ? std::optional<double>(ms) : std::nullopt;
}

double LaunchTimer::median(QList<double> values)
{
    std::sort(values.begin(), values.end());
    const qsizetype middle = values.size() / 2;
    return values.size() % 2 ? values.at(middle) : (values.at(middle - 1) + values.at(middle)) / 2;
}

double LaunchTimer::best(const QList<double> &values)
{
    return *std::min_element(values.cbegin(), values.cend());
}

QString LaunchTimer::platform()
{
    return qEnvironmentVariableIsSet("QT_QPA_PLATFORM") ? qEnvironmentVariable("QT_QPA_PLATFORM")
           : qEnvironmentVariableIsSet("DISPLAY")       ? QStringLiteral("xcb")
                                                         : QStringLiteral("offscreen");
}
