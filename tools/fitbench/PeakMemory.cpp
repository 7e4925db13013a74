// SPDX-License-Identifier: GPL-3.0-or-later
#include "PeakMemory.h"

#include <QFile>

namespace {

qint64 statusValue(const QByteArray &key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(key))
            return line.mid(key.size()).trimmed().split(' ').value(0).toLongLong() * 1024;
    }
    return -1;
}

} // namespace

bool PeakMemory::reset()
{
    QFile clearRefs(QStringLiteral("/proc/self/clear_refs"));
    return clearRefs.open(QIODevice::WriteOnly) && clearRefs.write("5") == 1;
}

qint64 PeakMemory::resident()
{
    return statusValue("VmRSS:");
}

qint64 PeakMemory::peak()
{
    return statusValue("VmHWM:");
}
