// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/velotool/InterruptWatcher.h"

#include <QSocketNotifier>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

int wakePipe[2] = {-1, -1};
struct sigaction previousInt;
struct sigaction previousTerm;

void onSignal(int)
{
    const int savedErrno = errno;
    const char byte = 1;
    // Async-signal-safe; a full pipe already holds a wake-up, so a failed write loses nothing.
    [[maybe_unused]] const ssize_t written = ::write(wakePipe[1], &byte, 1);
    errno = savedErrno;
}

bool makePipe()
{
    if (::pipe(wakePipe) != 0)
        return false;
    for (int fd : wakePipe) {
        ::fcntl(fd, F_SETFD, FD_CLOEXEC);
        ::fcntl(fd, F_SETFL, ::fcntl(fd, F_GETFL) | O_NONBLOCK);
    }
    return true;
}

void closePipe()
{
    for (int &fd : wakePipe) {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
}

} // namespace

InterruptWatcher::InterruptWatcher(QObject *parent) : QObject(parent)
{
    if (wakePipe[0] >= 0 || !makePipe())
        return;
    m_notifier = std::make_unique<QSocketNotifier>(wakePipe[0], QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &InterruptWatcher::onReadable);

    struct sigaction action = {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    m_active = ::sigaction(SIGINT, &action, &previousInt) == 0 && ::sigaction(SIGTERM, &action, &previousTerm) == 0;
}

InterruptWatcher::~InterruptWatcher()
{
    if (!m_notifier)
        return;
    ::sigaction(SIGINT, &previousInt, nullptr);
    ::sigaction(SIGTERM, &previousTerm, nullptr);
    m_notifier.reset();
    closePipe();
}

bool InterruptWatcher::takeWakeUps()
{
    bool taken = false;
    char bytes[16];
    while (::read(wakePipe[0], bytes, sizeof bytes) > 0)
        taken = true;
    return taken;
}

void InterruptWatcher::onReadable()
{
    takeWakeUps();
    m_interrupted = true;
    emit interrupted();
}

bool InterruptWatcher::wasInterrupted()
{
    if (m_notifier && takeWakeUps())
        m_interrupted = true;
    return m_interrupted;
}
