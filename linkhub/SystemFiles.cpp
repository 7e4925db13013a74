// SPDX-License-Identifier: GPL-3.0-or-later
#include "linkhub/SystemFiles.h"

#include <QMutex>

namespace {
QMutex currentLock; // guards currentRoot
QString currentRoot;
}

SystemFiles::SystemFiles(const QString &root) : m_root(root) {}

QString SystemFiles::sysfs() const
{
    return m_root + QStringLiteral("/sys");
}

QString SystemFiles::devices() const
{
    return m_root + QStringLiteral("/dev");
}

QStringList SystemFiles::rulesFolders() const
{
    // udev's own order: the administrator's, then the run-time ones, then the packages'.
    return {m_root + QStringLiteral("/etc/udev/rules.d"), m_root + QStringLiteral("/run/udev/rules.d"),
            m_root + QStringLiteral("/usr/local/lib/udev/rules.d"), m_root + QStringLiteral("/usr/lib/udev/rules.d"),
            m_root + QStringLiteral("/lib/udev/rules.d")};
}

SystemFiles SystemFiles::current()
{
    QMutexLocker locker(&currentLock);
    return SystemFiles(currentRoot);
}

void SystemFiles::setCurrent(const SystemFiles &files)
{
    QMutexLocker locker(&currentLock);
    currentRoot = files.m_root;
}
