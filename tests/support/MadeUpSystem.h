// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

/// A made-up copy of a system's device files in a temporary folder, laid out as the kernel's
/// device tree and udev lay them out: USB devices with their ids, their serial ports (in the tree
/// and in the list of terminals) and rules files.
class MadeUpSystem
{
public:
    bool isValid() const { return root.isValid(); }
    QString path() const { return root.path(); }

    /// A USB device at busName ("1-2") with the ids (lower-case hex, as the kernel writes them);
    /// with a terminal name, that terminal hangs below its first interface and is listed.
    bool plug(const QString &busName, const char *vendor, const char *product, const QString &tty = QString())
    {
        const QString device = sysfs(QStringLiteral("bus/usb/devices/") + busName);
        const QString interface = device + QLatin1Char('/') + busName + QStringLiteral(":1.0");
        if (!QDir().mkpath(interface) || !write(device + QStringLiteral("/idVendor"), vendor)
            || !write(device + QStringLiteral("/idProduct"), product))
            return false;
        if (tty.isEmpty())
            return true;
        const QString port = interface + QLatin1Char('/') + tty;
        const QString listed = sysfs(QStringLiteral("class/tty/") + tty);
        return QDir().mkpath(port) && QDir().mkpath(listed) && QFile::link(port, listed + QStringLiteral("/device"));
    }

    /// Takes the device and its terminal away, as pulling the cable does.
    bool pull(const QString &busName, const QString &tty)
    {
        return QDir(sysfs(QStringLiteral("bus/usb/devices/") + busName)).removeRecursively()
            && QDir(sysfs(QStringLiteral("class/tty/") + tty)).removeRecursively();
    }

    /// A rules file in one of udev's folders, such as "lib/udev/rules.d".
    bool addRules(const QString &folder, const QString &name, const QByteArray &text)
    {
        const QString where = root.filePath(folder);
        return QDir().mkpath(where) && write(where + QLatin1Char('/') + name, text);
    }

    /// The device node a listed terminal has in the copy.
    QString devicePath(const QString &tty) const { return root.filePath(QStringLiteral("dev/") + tty); }

private:
    QString sysfs(const QString &inner) const { return root.filePath(QStringLiteral("sys/") + inner); }

    static bool write(const QString &path, const QByteArray &text)
    {
        QFile file(path);
        return file.open(QIODevice::WriteOnly) && file.write(text + '\n') == text.size() + 1;
    }

    QTemporaryDir root;
};
