// SPDX-License-Identifier: GPL-3.0-or-later
#include "linkhub/private/WorkerThread.h"

#include <QThread>

void WorkerThread::start()
{
    if (running)
        return;
    wait();
    running = true;
    thread = std::thread([this] {
        QThread::currentThread()->setObjectName(name);
        run();
        running = false;
    });
}

void WorkerThread::wait()
{
    if (thread.joinable())
        thread.join();
}
