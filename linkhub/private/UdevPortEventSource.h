// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkhub/PortEventSource.h"

#include <memory>

class QSocketNotifier;
struct udev;
struct udev_monitor;

/// The device manager's announcements of terminals and USB devices coming and going, read from
/// its socket when the event loop sees it readable: nothing runs while nothing changes.
class UdevPortEventSource : public PortEventSource
{
    Q_OBJECT

public:
    /// Null when the device manager's socket cannot be opened.
    static std::unique_ptr<UdevPortEventSource> open();
    ~UdevPortEventSource() override;

private:
    UdevPortEventSource(udev *context, udev_monitor *monitor);
    /// Takes every waiting announcement; they only say that it is time to look again.
    void drain();

    udev *m_context;
    udev_monitor *m_monitor;
    std::unique_ptr<QSocketNotifier> m_notifier;
};
