#include "linkhub/QextSerialEnumerator.h"

#include <QMutex>
#include <QSerialPortInfo>

namespace {
QMutex sourceLock; // guards portSource
QextSerialEnumerator::PortSource portSource;

QList<QextPortInfo> systemPorts()
{
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
