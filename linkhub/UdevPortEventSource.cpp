// SPDX-License-Identifier: GPL-3.0-or-later
#include "linkhub/private/UdevPortEventSource.h"

#include <QSocketNotifier>

#include <libudev.h>

std::unique_ptr<UdevPortEventSource> UdevPortEventSource::open()
{
    udev *context = udev_new();
    if (!context)
        return nullptr;
    udev_monitor *monitor = udev_monitor_new_from_netlink(context, "udev");
    // Terminals for the list; whole USB devices for a bridge that comes without one.
    if (!monitor || udev_monitor_filter_add_match_subsystem_devtype(monitor, "tty", nullptr) < 0
        || udev_monitor_filter_add_match_subsystem_devtype(monitor, "usb", "usb_device") < 0
        || udev_monitor_enable_receiving(monitor) < 0) {
        udev_monitor_unref(monitor);
        udev_unref(context);
        return nullptr;
    }
    return std::unique_ptr<UdevPortEventSource>(new UdevPortEventSource(context, monitor));
}

UdevPortEventSource::UdevPortEventSource(udev *context, udev_monitor *monitor)
    : m_context(context),
      m_monitor(monitor),
      m_notifier(std::make_unique<QSocketNotifier>(udev_monitor_get_fd(monitor), QSocketNotifier::Read))
{
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &UdevPortEventSource::drain);
}

UdevPortEventSource::~UdevPortEventSource()
{
    m_notifier.reset();
    udev_monitor_unref(m_monitor);
    udev_unref(m_context);
}

void UdevPortEventSource::drain()
{
    // The socket does not block, so this ends when nothing more waits.
    bool any = false;
    while (udev_device *device = udev_monitor_receive_device(m_monitor)) {
        udev_device_unref(device);
        any = true;
    }
    if (any)
        emit devicesChanged();
}
