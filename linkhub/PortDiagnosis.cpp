// SPDX-License-Identifier: GPL-3.0-or-later
#include "linkhub/PortDiagnosis.h"

#include "linkhub/BridgeDiagnosis.h"

#include <QFile>
#include <QFileInfo>
#include <QLockFile>

#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {
// Where serial programs (this one's port code among them) leave their "LCK.." lock files.
const char *const lockFolders[] = {"/var/lock", "/run/lock", "/tmp"};

bool isProcessAlive(qint64 pid)
{
    return pid > 0 && (::kill(pid_t(pid), 0) == 0 || errno == EPERM);
}

/// A lock file for the port that names a process still running.
bool hasLiveLockFile(const QString &path)
{
    QString name = path;
    if (name.startsWith(QLatin1String("/dev/")))
        name.remove(0, 5);
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    for (const char *folder : lockFolders) {
        const QString lockPath = QString::fromLatin1(folder) + QStringLiteral("/LCK..") + name;
        qint64 pid = 0;
        QString host;
        QString application;
        if (QFile::exists(lockPath) && QLockFile(lockPath).getLockInfo(&pid, &host, &application)
            && isProcessAlive(pid))
            return true;
    }
    return false;
}

/// Whether an open terminal is held in exclusive mode by another user of it (the kernel lets
/// some users in anyway, so the terminal is asked).
bool isHeldExclusively(int fd)
{
    int exclusive = 0;
    return ::ioctl(fd, TIOCGEXCL, &exclusive) == 0 && exclusive != 0;
}
}

QString PortDiagnosis::devicePath(const QString &portName)
{
    if (portName.contains(QLatin1Char('/')))
        return portName;
    return QStringLiteral("/dev/") + portName;
}

PortDiagnosis::Cause PortDiagnosis::causeFor(const QString &portName)
{
    // Opening it as the link does tells what the system holds against it. The link has failed to
    // open it, so nothing of this program uses it now.
    const QString path = devicePath(portName);
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        switch (errno) {
        case EACCES:
        case EPERM:
            return Cause::PermissionDenied;
        case EBUSY:
            return Cause::Busy;
        case ENOENT:
        case ENOTDIR:
        case ENXIO:
        case ENODEV:
            return Cause::Missing;
        default:
            return Cause::Unusable;
        }
    }
    const bool busy = isHeldExclusively(fd) || hasLiveLockFile(path);
    ::close(fd);
    return busy ? Cause::Busy : Cause::Unusable;
}

QString PortDiagnosis::owningGroup(const QString &portName)
{
    const QString group = QFileInfo(devicePath(portName)).group();
    return group == QLatin1String("root") ? QString() : group;
}

QString PortDiagnosis::reason(const QString &portName)
{
    switch (causeFor(portName)) {
    case Cause::Missing:
        return tr("There is no port %1: check the cable and the port name.").arg(portName);
    case Cause::PermissionDenied:
        return permissionReason(portName, owningGroup(portName), BridgeDiagnosis().hasAccessRule());
    case Cause::Busy:
        return tr("%1 is busy: close the other program that uses it and try again.").arg(portName);
    case Cause::Unusable:
        break;
    }
    return tr("%1 did not open as a serial port: check the port name.").arg(portName);
}

QString PortDiagnosis::permissionReason(const QString &portName, const QString &group, bool accessRule)
{
    if (accessRule && group.isEmpty())
        return tr("No permission to use %1: unplug the cable and plug it in again once, so that the access rule "
                  "installed with Pacerow applies; or ask for access to the port.")
            .arg(portName);
    if (accessRule)
        return tr("No permission to use %1: unplug the cable and plug it in again once, so that the access rule "
                  "installed with Pacerow applies; or join the group \"%2\" (sudo usermod -aG %2 $USER) and log "
                  "in again.")
            .arg(portName, group);
    if (group.isEmpty())
        return tr("No permission to use %1: ask for access to the port.").arg(portName);
    return tr("No permission to use %1: join the group \"%2\" (sudo usermod -aG %2 $USER) and log in again.")
        .arg(portName, group);
}

QString PortDiagnosis::emptyListReason(const SystemFiles &files)
{
    const QString stranded = BridgeDiagnosis(files).explanation();
    if (!stranded.isEmpty())
        return stranded;
    return tr("No serial port behind a supported USB bridge was found. Check the cable and that the bridge's "
              "driver is loaded; on Linux, also that your user belongs to the group that owns the serial devices "
              "(usually \"dialout\").");
}
