// SPDX-License-Identifier: GPL-3.0-or-later
#include "linkhub/UsbBridge.h"

const QList<UsbBridge> &UsbBridge::supported()
{
    static const QList<UsbBridge> bridges{
        {0x0403, 0x6001, "FTDI FT232 USB-UART", "ftdi_sio"},
        {0x10C4, 0xEA60, "Silicon Labs CP210x USB-UART", "cp210x"},
    };
    return bridges;
}

const UsbBridge *UsbBridge::find(int vendorId, int productId)
{
    for (const UsbBridge &bridge : supported()) {
        if (bridge.vendorId == vendorId && bridge.productId == productId)
            return &bridge;
    }
    return nullptr;
}

QString UsbBridge::usbIds() const
{
    return QStringLiteral("%1:%2").arg(vendorId, 4, 16, QLatin1Char('0')).arg(productId, 4, 16, QLatin1Char('0'));
}

QString UsbBridge::recognisedText()
{
    const UsbBridge &ftdi = supported().at(0);
    const UsbBridge &siliconLabs = supported().at(1);
    return tr("The list shows the ports of the bridges %1 (USB %2) and %3 (USB %4).")
        .arg(QLatin1String(ftdi.name), ftdi.usbIds(), QLatin1String(siliconLabs.name), siliconLabs.usbIds());
}
