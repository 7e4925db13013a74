// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkhub/linkhub_global.h"

#include <QCoreApplication>
#include <QList>
#include <QString>

/// One of the USB-to-serial bridge chips the bike computer's cable is built with.
struct LINKHUB_EXPORT UsbBridge
{
    Q_DECLARE_TR_FUNCTIONS(UsbBridge)

public:
    int vendorId;
    int productId;
    const char *name; ///< the chip, as its maker calls it
    const char *driver; ///< the Linux kernel module that makes it a serial port

    /// The supported bridges, in a fixed order.
    static const QList<UsbBridge> &supported();
    /// The supported bridge with both ids, or null.
    static const UsbBridge *find(int vendorId, int productId);
    /// "0403:6001", as lsusb writes the ids.
    QString usbIds() const;
    /// One sentence naming the bridges the list recognises, with their ids.
    static QString recognisedText();
};
