// SPDX-License-Identifier: GPL-3.0-or-later
#include "FirstPaintProbe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdio>

FirstPaintProbe::FirstPaintProbe(QWidget *window) : QObject(window)
{
    window->installEventFilter(this);
}

bool FirstPaintProbe::eventFilter(QObject *, QEvent *event)
{
    if (event->type() != QEvent::Paint || reported)
        return false;
    reported = true;
    // Measured once the paint has run and the event loop turns again.
    QTimer::singleShot(0, this, [] {
        const qint64 launched = qgetenv(LaunchVariable).toLongLong();
        const qint64 now = std::chrono::steady_clock::now().time_since_epoch().count();
        std::printf("%.3f\n", double(now - launched) / 1e6);
        std::fflush(stdout);
        QCoreApplication::exit(0);
    });
    return false;
}
