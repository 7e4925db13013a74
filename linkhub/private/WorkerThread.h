// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include <atomic>
#include <thread>

/// A named thread that runs run() once per start(). Joining it on wait() orders everything the
/// thread did before whatever follows, in a way thread checkers can see.
class WorkerThread
{
public:
    explicit WorkerThread(QString name) : name(std::move(name)) {}
    virtual ~WorkerThread() = default; // derived classes wait() in their destructors

    WorkerThread(const WorkerThread &) = delete;
    WorkerThread &operator=(const WorkerThread &) = delete;

    /// Starts run() on a new thread; no effect while a run is still going on.
    void start();
    /// True from start() until run() has returned.
    bool isRunning() const { return running; }
    /// Waits until run() has returned; returns at once when nothing was started.
    void wait();

protected:
    virtual void run() = 0;

private:
    QString name;
    std::thread thread; // started and joined by the owner's thread only
    std::atomic<bool> running{false};
};
