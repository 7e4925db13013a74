// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <condition_variable>
#include <mutex>

/// A counting semaphore on standard primitives, so that thread checkers see what it orders.
class CountingSemaphore
{
public:
    void release(int n = 1)
    {
        {
            std::lock_guard<std::mutex> guard(lock);
            count += n;
        }
        changed.notify_all();
    }

    void acquire()
    {
        std::unique_lock<std::mutex> guard(lock);
        changed.wait(guard, [this] { return count > 0; });
        --count;
    }

    /// Takes one permit if one is available now; never blocks.
    bool tryAcquire()
    {
        std::lock_guard<std::mutex> guard(lock);
        if (count == 0)
            return false;
        --count;
        return true;
    }

    /// Takes back every permit that is available now.
    void drain()
    {
        std::lock_guard<std::mutex> guard(lock);
        count = 0;
    }

private:
    std::mutex lock; // guards count
    std::condition_variable changed;
    int count = 0;
};
