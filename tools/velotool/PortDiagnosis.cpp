#include "tools/velotool/PortDiagnosis.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <unistd.h>

QString PortDiagnosis::devicePath(const QString &portName)
{
    if (portName.contains(QLatin1Char('/')))
        return portName;
    return QStringLiteral("/dev/") + portName;
}

PortDiagnosis::Cause PortDiagnosis::causeFor(const QString &portName)
{
    const QByteArray path = QFile::encodeName(devicePath(portName));
    if (::access(path.constData(), R_OK | W_OK) == 0)
        return Cause::Unusable;
    if (errno == EACCES || errno == EPERM)
        return Cause::PermissionDenied;
    return Cause::Missing;
}

QString PortDiagnosis::explain(const QString &portName)
{
    switch (causeFor(portName)) {
    case Cause::Missing:
        return tr("Cannot open port %1: there is no such port. Check the cable and the name; "
                  "\"velotool ports\" lists the ports behind supported USB bridges.")
            .arg(portName);
    case Cause::PermissionDenied: {
        const QString group = QFileInfo(devicePath(portName)).group();
        if (group.isEmpty() || group == QLatin1String("root"))
            return tr("Cannot open port %1: permission denied. Run velotool as a user who may use the port.")
                .arg(portName);
        return tr("Cannot open port %1: permission denied. Add your user to the group \"%2\" that owns it "
                  "(sudo usermod -aG %2 $USER), log in again and retry.")
            .arg(portName, group);
    }
    case Cause::Unusable:
        break;
    }
    return tr("Cannot open port %1: it is not a serial port, or another program is using it. "
              "Close other programs that use the port and try again.")
        .arg(portName);
}
