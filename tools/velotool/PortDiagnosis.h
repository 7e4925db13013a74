#pragma once

#include <QCoreApplication>
#include <QString>

/// Explains why the device link could not open a port, from what the system says about its name.
/// The link reports only that opening failed; the user needs to know what to change.
class PortDiagnosis
{
    Q_DECLARE_TR_FUNCTIONS(PortDiagnosis)

public:
    enum class Cause { Missing, PermissionDenied, Unusable };

    /// The path a port name stands for: names without a folder live in /dev.
    static QString devicePath(const QString &portName);
    static Cause causeFor(const QString &portName);
    /// One line naming the port, what went wrong and what to do.
    static QString explain(const QString &portName);
};
