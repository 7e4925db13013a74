// SPDX-License-Identifier: GPL-3.0-or-later
#include "linkhub/PortEventSource.h"

#include "linkhub/SystemFiles.h"
#include "linkhub/private/UdevPortEventSource.h"

#include <QFileInfo>
#include <QMutex>
#include <QTimer>

namespace {
QMutex factoryLock; // guards factory
PortEventSource::Factory factory;

/// Ticks at a fixed period; the watch compares the list itself.
class PollingPortEventSource : public PortEventSource
{
public:
    explicit PollingPortEventSource(std::chrono::milliseconds period)
    {
        timer.setInterval(period);
        connect(&timer, &QTimer::timeout, this, &PortEventSource::devicesChanged);
        timer.start();
    }

private:
    QTimer timer;
};

/// udev leaves this socket while it runs; without it no announcement would ever come.
bool deviceManagerRuns()
{
    return QFileInfo::exists(QStringLiteral("/run/udev/control"));
}
}

std::unique_ptr<PortEventSource> PortEventSource::create()
{
    Factory made;
    {
        QMutexLocker locker(&factoryLock);
        made = factory;
    }
    if (made)
        return made();
    // The device manager speaks of the live system only, not of a copy of its files.
    if (SystemFiles::current().isLiveSystem() && deviceManagerRuns()) {
        if (auto source = createDeviceManagerSource())
            return source;
    }
    return createPollingSource();
}

void PortEventSource::setFactory(Factory made)
{
    QMutexLocker locker(&factoryLock);
    factory = std::move(made);
}

std::unique_ptr<PortEventSource> PortEventSource::createDeviceManagerSource()
{
    return UdevPortEventSource::open();
}

std::unique_ptr<PortEventSource> PortEventSource::createPollingSource(std::chrono::milliseconds period)
{
    return std::make_unique<PollingPortEventSource>(period);
}
