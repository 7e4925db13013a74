// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkhub/SystemFiles.h"
#include "linkhub/linkhub_global.h"

#include <QCoreApplication>
#include <QString>

/// Explains why the device link could not open a port, from what the system says about its name.
/// The link reports only that opening failed; the user needs to know what to change.
class LINKHUB_EXPORT PortDiagnosis
{
    Q_DECLARE_TR_FUNCTIONS(PortDiagnosis)

public:
    enum class Cause {
        Missing, ///< nothing by that name
        PermissionDenied, ///< the user may not read and write it
        Busy, ///< another program holds it for itself (exclusive mode, or a lock file of a live process)
        Unusable, ///< reachable and free, yet it would not open as a serial port
    };

    /// The path a port name stands for: names without a folder live in /dev.
    static QString devicePath(const QString &portName);
    static Cause causeFor(const QString &portName);
    /// The group that owns the port, when joining it would help (not root); else empty.
    static QString owningGroup(const QString &portName);
    /// One short line saying why the port did not open and what to do, for a status area.
    static QString reason(const QString &portName);
    /// The line for a port the user may not use, owned by group (empty: root); with the package's
    /// access rule in force, replugging the cable is the first thing to try.
    static QString permissionReason(const QString &portName, const QString &group, bool accessRule);
    /// Why no port behind a supported bridge is listed: a bridge that is plugged in but has no
    /// port, with what to do about it, or else what to check.
    static QString emptyListReason(const SystemFiles &files = SystemFiles::current());
};
