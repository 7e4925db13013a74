// SPDX-License-Identifier: GPL-3.0-or-later
#include "linkhub/PortWatch.h"

#include "linkhub/BridgeDiagnosis.h"
#include "linkhub/ComConnection.h"

PortWatch::PortWatch(const QList<QextPortInfo> &listed, std::unique_ptr<PortEventSource> source, QObject *parent)
    : QObject(parent), m_source(std::move(source)), m_seen(fingerprint(listed))
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

QStringList PortWatch::fingerprint(const QList<QextPortInfo> &listed)
{
    QStringList seen;
    for (const QextPortInfo &port : listed)
        seen.append(QStringLiteral("%1 %2:%3").arg(port.portName).arg(port.vendorID).arg(port.productID));
    for (const BridgeDiagnosis::Stranded &stranded : BridgeDiagnosis().strandedBridges())
        seen.append(stranded.usbDevice);
    return seen;
}

void PortWatch::look()
{
    QStringList now = fingerprint(ComConnection::getSupportedComs());
    if (now == m_seen)
        return;
    m_seen = std::move(now);
    emit portsChanged();
}
