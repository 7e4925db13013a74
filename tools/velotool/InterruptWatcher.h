// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <memory>

class QSocketNotifier;

/// Turns Ctrl-C (SIGINT) and SIGTERM into a signal delivered by the event loop.
///
/// The signal handler only writes one byte to a pipe; a socket notifier on the other end reports
/// it on the thread that created the watcher, where quitting loops and closing links is safe.
/// One watcher may exist at a time; destroying it restores the previous handlers.
class InterruptWatcher : public QObject
{
    Q_OBJECT

public:
    explicit InterruptWatcher(QObject *parent = nullptr);
    ~InterruptWatcher() override;

    /// False when the pipe or the handlers could not be set up; Ctrl-C then ends the process at once.
    bool isActive() const { return m_active; }
    /// Whether Ctrl-C or SIGTERM came while the watcher lived, also while no event loop ran.
    bool wasInterrupted();

signals:
    /// Each Ctrl-C (signals that arrive together count once).
    void interrupted();

private:
    void onReadable();
    /// Empties the pipe; true when it held a wake-up.
    bool takeWakeUps();

    std::unique_ptr<QSocketNotifier> m_notifier;
    bool m_active = false;
    bool m_interrupted = false;
};
