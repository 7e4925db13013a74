// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkhub/PortEventSource.h"
#include "linkhub/QextPortInfo.h"
#include "linkhub/linkhub_global.h"

#include <QList>
#include <QObject>
#include <QStringList>
#include <QTimer>

#include <chrono>
#include <memory>

/// Follows the ports behind supported bridges (and bridges plugged in without a port) and tells
/// when they change. Looks only when the event source says something may have changed.
class LINKHUB_EXPORT PortWatch : public QObject
{
    Q_OBJECT

public:
    /// Announcements come in bursts (the USB device, then its terminal); one look follows the burst.
    static constexpr std::chrono::milliseconds SettleTime{250};

    /// Watches from the ports listed now (the caller has just enumerated them), with the system's
    /// event source unless given another.
    explicit PortWatch(const QList<QextPortInfo> &listed, std::unique_ptr<PortEventSource> source = PortEventSource::create(),
                       QObject *parent = nullptr);
    ~PortWatch() override;

signals:
    /// The supported ports, or the bridges without one, are not what they were.
    void portsChanged();

private:
    void look();
    /// What is compared: the supported ports and the folders of bridges without a port.
    static QStringList fingerprint(const QList<QextPortInfo> &listed);

    std::unique_ptr<PortEventSource> m_source;
    QTimer m_settle;
    QStringList m_seen;
};
