// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkhub/QextPortInfo.h"
#include "linkhub/SystemFiles.h"

#include <QList>

/// The serial ports the kernel's device tree describes, with the USB ids of the device each
/// belongs to. Read from the files alone, so that a copy of them can be read as well.
namespace SysfsPorts {
/// Every terminal that belongs to a device (virtual consoles and pseudo-terminals do not), by name.
QList<QextPortInfo> list(const SystemFiles &files);
/// Whether the kernel's device tree is there to be read.
bool isReadable(const SystemFiles &files);
/// The USB device folder at or above path, up to the tree's root; empty when there is none.
QString usbDeviceAbove(const QString &path, const QString &sysfsRoot);
}
