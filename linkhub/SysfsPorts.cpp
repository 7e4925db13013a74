// SPDX-License-Identifier: GPL-3.0-or-later
#include "linkhub/private/SysfsPorts.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {
QString attribute(const QString &folder, const char *name)
{
    QFile file(folder + QLatin1Char('/') + QLatin1String(name));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromUtf8(file.readAll()).trimmed();
}

int hexAttribute(const QString &folder, const char *name)
{
    bool ok = false;
    const int value = attribute(folder, name).toInt(&ok, 16);
    return ok ? value : 0;
}

QString ttyClassFolder(const SystemFiles &files)
{
    return files.sysfs() + QStringLiteral("/class/tty");
}
}

bool SysfsPorts::isReadable(const SystemFiles &files)
{
    return QFileInfo(ttyClassFolder(files)).isDir();
}

QString SysfsPorts::usbDeviceAbove(const QString &path, const QString &sysfsRoot)
{
    const QString root = QFileInfo(sysfsRoot).canonicalFilePath();
    QDir folder(path);
    while (folder.absolutePath().startsWith(root) && folder.absolutePath() != root) {
        if (folder.exists(QStringLiteral("idVendor")) && folder.exists(QStringLiteral("idProduct")))
            return folder.absolutePath();
        if (!folder.cdUp())
            break;
    }
    return QString();
}

QList<QextPortInfo> SysfsPorts::list(const SystemFiles &files)
{
    QList<QextPortInfo> ports;
    const QDir ttys(ttyClassFolder(files));
    const QStringList names = ttys.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &name : names) {
        const QFileInfo device(ttys.filePath(name) + QStringLiteral("/device"));
        if (!device.exists())
            continue;
        QextPortInfo port;
        port.portName = files.devices() + QLatin1Char('/') + name;
        port.physName = port.portName;
        const QString usb = usbDeviceAbove(device.canonicalFilePath(), files.sysfs());
        if (!usb.isEmpty()) {
            port.vendorID = hexAttribute(usb, "idVendor");
            port.productID = hexAttribute(usb, "idProduct");
            port.friendName = attribute(usb, "product");
            port.enumName = attribute(usb, "manufacturer");
        }
        ports.append(port);
    }
    return ports;
}
