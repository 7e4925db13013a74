#pragma once

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
};
