// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

class QWidget;

/// Prints, on standard output, the milliseconds from the moment the benchmark launched this
/// process (PACEROW_STARTBENCH_LAUNCHED, steady clock in nanoseconds) to the end of the first
/// paint of the window, then ends the program.
class FirstPaintProbe : public QObject
{
public:
    static constexpr const char *LaunchVariable = "PACEROW_STARTBENCH_LAUNCHED";

    explicit FirstPaintProbe(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool reported = false;
};
