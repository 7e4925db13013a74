// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkhub/SystemFiles.h"
#include "linkhub/UsbBridge.h"
#include "linkhub/linkhub_global.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

/// Tells, from the system's own files, why a supported bridge that is plugged in has no serial
/// port, and whether the product's access rule is in force.
class LINKHUB_EXPORT BridgeDiagnosis
{
    Q_DECLARE_TR_FUNCTIONS(BridgeDiagnosis)

public:
    /// The rule file the package installs, which gives the user at the seat the bridges' ports.
    static constexpr char AccessRuleFile[] = "60-pacerow-bridges.rules";

    /// A supported bridge on the USB bus without a serial port, and why.
    struct Stranded
    {
        const UsbBridge *bridge = nullptr;
        QString usbDevice; ///< its folder in the device tree, named by its place on the bus
        QString brlttyRules; ///< the rules file of the braille display service that claims it; empty if none
    };

    explicit BridgeDiagnosis(const SystemFiles &files = SystemFiles::current());

    QList<Stranded> strandedBridges() const;
    /// What to do about each stranded bridge, one sentence each; empty when there is none.
    QString explanation() const;
    /// Whether the package's access rule is in force (not turned off by a file of its name in /etc).
    bool hasAccessRule() const;

private:
    static bool hasSerialPort(const QString &usbDevice);
    static QString describe(const Stranded &stranded);

    SystemFiles m_files;
};
