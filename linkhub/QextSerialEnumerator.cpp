// SPDX-License-Identifier: GPL-3.0-or-later
#include "linkhub/QextSerialEnumerator.h"

#include "linkhub/private/SysfsPorts.h"

#include <QMutex>
#include <QSerialPortInfo>

namespace {
QMutex sourceLock; // guards portSource
QextSerialEnumerator::PortSource portSource;

/// Where the kernel's device tree is at hand (Linux), the ports are read from it directly: the
/// same reading then serves a copy of the tree, and it needs no device manager running.
QList<QextPortInfo> systemPorts()
{
    const SystemFiles files = SystemFiles::current();
    if (!files.isLiveSystem() || SysfsPorts::isReadable(files))
        return SysfsPorts::list(files);
    QList<QextPortInfo> ports;
    const auto available = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : available) {
        QextPortInfo port;
        port.portName = info.systemLocation();
        port.physName = info.systemLocation();
        port.friendName = info.description();
        port.enumName = info.manufacturer();
        port.vendorID = info.hasVendorIdentifier() ? info.vendorIdentifier() : 0;
        port.productID = info.hasProductIdentifier() ? info.productIdentifier() : 0;
        ports.append(port);
    }
    return ports;
}
}

QList<QextPortInfo> QextSerialEnumerator::getPorts()
{
    PortSource source;
    {
        QMutexLocker locker(&sourceLock);
        source = portSource;
    }
    return source ? source() : systemPorts();
}

void QextSerialEnumerator::setPortSource(PortSource source)
{
    QMutexLocker locker(&sourceLock);
    portSource = std::move(source);
}
