// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

/// Launches a program built with a FirstPaintProbe and reads how long it took to paint its first
/// window, on the display the benchmark was given (QT_QPA_PLATFORM and DISPLAY as set; offscreen
/// when neither is).
class LaunchTimer
{
public:
    /// Milliseconds from launch to the first painted window, or nothing when no window opened.
    /// `settingsFolder` stands for the user's settings, which are never read or touched.
    static std::optional<double> firstPaint(const QString &program, const QStringList &arguments,
                                            const QString &settingsFolder);
    static double median(QList<double> values);
    static double best(const QList<double> &values);
    /// The display the programs run on.
    static QString platform();
};
