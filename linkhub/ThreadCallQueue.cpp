// SPDX-License-Identifier: GPL-3.0-or-later
#include "linkhub/private/ThreadCallQueue.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>

namespace {
const QEvent::Type RunPendingEvent = static_cast<QEvent::Type>(QEvent::registerEventType());
}

ThreadCallQueue::~ThreadCallQueue() = default;

void ThreadCallQueue::post(std::function<void()> function)
{
    {
        std::lock_guard<std::mutex> guard(lock);
        pending.push_back(std::move(function));
        ++posted;
    }
    QCoreApplication::postEvent(this, new QEvent(RunPendingEvent));
}

void ThreadCallQueue::call(std::function<void()> function)
{
    if (QThread::currentThread() == thread()) {
        function();
        return;
    }
    quint64 ticket;
    {
        std::lock_guard<std::mutex> guard(lock);
        pending.push_back(std::move(function));
        ticket = ++posted;
    }
    QCoreApplication::postEvent(this, new QEvent(RunPendingEvent));
    std::unique_lock<std::mutex> guard(lock);
    finished.wait(guard, [&] { return completed >= ticket; });
}

bool ThreadCallQueue::event(QEvent *event)
{
    if (event->type() != RunPendingEvent)
        return QObject::event(event);
    runPending();
    return true;
}

void ThreadCallQueue::runPending()
{
    for (;;) {
        std::function<void()> function;
        {
            std::lock_guard<std::mutex> guard(lock);
            if (pending.empty())
                return;
            function = std::move(pending.front());
            pending.pop_front();
        }
        function();
        {
            std::lock_guard<std::mutex> guard(lock);
            ++completed;
        }
        finished.notify_all();
    }
}
