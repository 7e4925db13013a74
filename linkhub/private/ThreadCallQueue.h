// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>

#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>

/// Runs functions on the thread this object lives on, in the order they were handed in.
/// The hand-over goes through a standard mutex, so thread checkers see it, unlike Qt's event
/// queue inside the uninstrumented Qt libraries; the event only wakes the target thread.
class ThreadCallQueue : public QObject
{
public:
    ThreadCallQueue() = default;
    ~ThreadCallQueue() override;

    /// Runs function later on the target thread; callable from any thread.
    void post(std::function<void()> function);
    /// Runs function on the target thread and waits for it; runs it at once when already there.
    void call(std::function<void()> function);

protected:
    bool event(QEvent *event) override;

private:
    void runPending();

    std::mutex lock; // guards pending, posted, completed
    std::condition_variable finished;
    std::deque<std::function<void()>> pending;
    quint64 posted = 0;
    quint64 completed = 0;
};
