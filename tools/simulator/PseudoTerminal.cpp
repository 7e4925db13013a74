// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/simulator/PseudoTerminal.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

QString systemError(const char *what)
{
    return QStringLiteral("%1: %2").arg(QLatin1String(what), QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

PseudoTerminal::~PseudoTerminal()
{
    unplug();
}

bool PseudoTerminal::open()
{
    unplug();
    masterFd = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (masterFd < 0) {
        lastError = systemError("posix_openpt");
        return false;
    }
    char name[128] = {};
    if (::grantpt(masterFd) != 0 || ::unlockpt(masterFd) != 0 || ::ptsname_r(masterFd, name, sizeof name) != 0) {
        lastError = systemError("pseudo-terminal setup");
        unplug();
        return false;
    }
    slaveName = QString::fromLocal8Bit(name);

    spareSlaveFd = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    termios settings{};
    if (spareSlaveFd < 0 || ::tcgetattr(spareSlaveFd, &settings) != 0) {
        lastError = systemError("opening the PC side");
        unplug();
        return false;
    }
    // Raw like a serial line, at a speed no model talks at, so that a PC side that never set
    // its speed is not understood.
    ::cfmakeraw(&settings);
    settings.c_cflag |= CLOCAL | CREAD;
    ::cfsetispeed(&settings, B38400);
    ::cfsetospeed(&settings, B38400);
    if (::tcsetattr(spareSlaveFd, TCSANOW, &settings) != 0) {
        lastError = systemError("tcsetattr");
        unplug();
        return false;
    }
    const int flags = ::fcntl(masterFd, F_GETFL);
    ::fcntl(masterFd, F_SETFL, flags | O_NONBLOCK);
    ::fcntl(masterFd, F_SETFD, FD_CLOEXEC);
    lastError.clear();
    return true;
}

qint32 PseudoTerminal::lineSpeed() const
{
    if (masterFd < 0)
        return 0;
    // On Linux the master reports the settings of the PC side.
    termios settings{};
    if (::tcgetattr(masterFd, &settings) != 0)
        return 0;
    return baudFromSpeed(::cfgetospeed(&settings));
}

QByteArray PseudoTerminal::readAvailable()
{
    QByteArray bytes;
    if (masterFd < 0)
        return bytes;
    char buffer[512];
    for (;;) {
        const ssize_t count = ::read(masterFd, buffer, sizeof buffer);
        if (count > 0) {
            bytes.append(buffer, count);
            continue;
        }
        if (count < 0 && errno == EINTR)
            continue;
        break; // EAGAIN: drained; EIO: nobody on the PC side
    }
    return bytes;
}

bool PseudoTerminal::writeByte(char byte)
{
    // A PC side that stops reading fills the buffer; give up rather than hang the device.
    int roomWaits = 100;
    while (masterFd >= 0) {
        const ssize_t count = ::write(masterFd, &byte, 1);
        if (count == 1)
            return true;
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0 && errno == EAGAIN && roomWaits-- > 0) {
            pollfd room{masterFd, POLLOUT, 0};
            ::poll(&room, 1, 10);
            continue;
        }
        return false;
    }
    return false;
}

qint64 PseudoTerminal::writeSome(const QByteArray &bytes)
{
    if (masterFd < 0)
        return -1;
    ssize_t count;
    do {
        count = ::write(masterFd, bytes.constData(), size_t(bytes.size()));
    } while (count < 0 && errno == EINTR);
    if (count >= 0)
        return count;
    return errno == EAGAIN ? 0 : -1;
}

void PseudoTerminal::unplug()
{
    if (spareSlaveFd >= 0) {
        ::close(spareSlaveFd);
        spareSlaveFd = -1;
    }
    if (masterFd >= 0) {
        ::close(masterFd);
        masterFd = -1;
    }
}

qint32 PseudoTerminal::baudFromSpeed(unsigned int speed)
{
    switch (speed) {
    case B50: return 50;
    case B75: return 75;
    case B110: return 110;
    case B134: return 134;
    case B150: return 150;
    case B200: return 200;
    case B300: return 300;
    case B600: return 600;
    case B1200: return 1200;
    case B1800: return 1800;
    case B2400: return 2400;
    case B4800: return 4800;
    case B9600: return 9600;
    case B19200: return 19200;
    case B38400: return 38400;
    case B57600: return 57600;
    case B115200: return 115200;
    case B230400: return 230400;
    default: return 0;
    }
}
