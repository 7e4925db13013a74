// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkhub/QextPortInfo.h"
#include "linkhub/linkhub_global.h"

#include <QList>

#include <functional>

/// Lists the serial ports of the system with their USB ids.
class LINKHUB_EXPORT QextSerialEnumerator
{
public:
    using PortSource = std::function<QList<QextPortInfo>()>;

    /// Every serial port of the system, in the order the system reports them.
    static QList<QextPortInfo> getPorts();

    /// Replaces where getPorts() takes its list from (tests use a made-up list);
    /// an empty function restores the system's enumeration.
    static void setPortSource(PortSource source);
};
