// SPDX-License-Identifier: GPL-3.0-or-later
#include "linkhub/PortWatch.h"

#include "linkhub/BridgeDiagnosis.h"
#include "linkhub/ComConnection.h"

PortWatch::PortWatch(QObject *parent) : PortWatch(PortEventSource::create(), parent) {}

PortWatch::PortWatch(std::unique_ptr<PortEventSource> source, QObject *parent)
    : QObject(parent), m_source(std::move(source)), m_seen(fingerprint())
{
    m_settle.setSingleShot(true);
    m_settle.setInterval(SettleTime);
    connect(&m_settle, &QTimer::timeout, this, &PortWatch::look);
    connect(m_source.get(), &PortEventSource::devicesChanged, &m_settle, [this] {
        if (!m_settle.isActive())
            m_settle.start();
    });
}

PortWatch::~PortWatch() = default;

QStringList PortWatch::fingerprint()
{
    QStringList seen;
    for (const QextPortInfo &port : ComConnection::getSupportedComs())
        seen.append(QStringLiteral("%1 %2:%3").arg(port.portName).arg(port.vendorID).arg(port.productID));
    for (const BridgeDiagnosis::Stranded &stranded : BridgeDiagnosis().strandedBridges())
        seen.append(stranded.usbDevice);
    return seen;
}

void PortWatch::look()
{
    QStringList now = fingerprint();
    if (now == m_seen)
        return;
    m_seen = std::move(now);
    emit portsChanged();
}
