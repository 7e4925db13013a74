// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkhub/linkhub_global.h"

#include <QString>
#include <QStringList>

/// Where the system describes its devices: the kernel's device tree (sysfs), the device nodes and
/// the folders of device rules. Normally the live system's; a copy of those files under another
/// root can stand in for it, to diagnose a system from its files.
class LINKHUB_EXPORT SystemFiles
{
public:
    /// The files under root; an empty root means the live system.
    explicit SystemFiles(const QString &root = QString());

    QString sysfs() const;
    QString devices() const;
    /// The folders of device rules, the one that wins a file name first.
    QStringList rulesFolders() const;
    bool isLiveSystem() const { return m_root.isEmpty(); }

    /// The files the device link reads; the live system unless replaced.
    static SystemFiles current();
    static void setCurrent(const SystemFiles &files);

private:
    QString m_root;
};
