// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkhub/linkhub_global.h"

#include <QObject>

#include <chrono>
#include <functional>
#include <memory>

/// Tells when the system's serial devices may have changed (a bridge plugged in or pulled out),
/// so that the port list is looked at again only then.
class LINKHUB_EXPORT PortEventSource : public QObject
{
    Q_OBJECT

public:
    using Factory = std::function<std::unique_ptr<PortEventSource>()>;

    /// Where no device manager reports changes, the list is looked at this often.
    static constexpr std::chrono::milliseconds PollPeriod{2000};

    /// The system's source: the device manager's events where it runs on the live system, else a
    /// slow poll; or what a factory set by setFactory() makes.
    static std::unique_ptr<PortEventSource> create();
    /// Replaces what create() makes (tests drive the watch with their own source); an empty
    /// function restores the system's.
    static void setFactory(Factory factory);
    /// The device manager's events (udev); null where they cannot be had.
    static std::unique_ptr<PortEventSource> createDeviceManagerSource();
    /// A tick every period, for systems without device events.
    static std::unique_ptr<PortEventSource> createPollingSource(std::chrono::milliseconds period = PollPeriod);

signals:
    /// Serial or USB devices came or went, or (polling) it is time to look again.
    void devicesChanged();

protected:
    using QObject::QObject;
};
