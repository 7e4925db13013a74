// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

/// Description of one serial port of the system, as the port enumerator reports it.
struct QextPortInfo
{
    QString portName; ///< the name to open the port by
    QString physName; ///< full system path of the port
    QString friendName; ///< description shown by the system
    QString enumName; ///< maker of the bridge
    int vendorID = 0; ///< USB vendor id of the bridge, 0 when not a USB port
    int productID = 0; ///< USB product id of the bridge, 0 when not a USB port
};
