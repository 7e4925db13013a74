// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>

/// The application object the link's queued calls need, made once per fuzzing process, with
/// the diagnostics (one per stray byte of a noisy input) kept off the terminal.
inline void ensureFuzzApplication()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char *argv[] = {name, nullptr};
    static QCoreApplication *application = [] {
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
        return new QCoreApplication(argc, argv);
    }();
    Q_UNUSED(application);
}
