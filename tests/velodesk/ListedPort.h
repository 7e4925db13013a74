// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkhub/QextPortInfo.h"
#include "linkhub/QextSerialEnumerator.h"

#include <QList>
#include <QString>

/// Ports as the windows' lists see them: behind an FTDI bridge, one of the supported two.
namespace ListedPort {

inline QextPortInfo ftdi(const QString &name)
{
    QextPortInfo port;
    port.portName = name;
    port.vendorID = 0x0403;
    port.productID = 0x6001;
    return port;
}

/// Offers exactly this port in the port list until the test sets another source.
inline void offer(const QString &name)
{
    QextSerialEnumerator::setPortSource([name] { return QList<QextPortInfo>{ftdi(name)}; });
}

} // namespace ListedPort
