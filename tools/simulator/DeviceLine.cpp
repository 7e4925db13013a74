// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/simulator/DeviceLine.h"

bool DeviceLine::observe(qint32 lineSpeed)
{
    if (!session)
        return false;
    if (lineSpeed == current) {
        pcFollowed = true;
        return false;
    }
    // Moving to the firmware speed prepares a transfer; it does not end the session.
    if (!pcFollowed || lineSpeed == FirmwareSpeed)
        return false;
    sessionClosed();
    return true;
}

void DeviceLine::identified()
{
    session = true;
    pcFollowed = false;
    current = modelSpeed;
}

void DeviceLine::sessionClosed()
{
    session = false;
    pcFollowed = false;
    current = IdentificationSpeed;
}

void DeviceLine::enterBootLoader()
{
    session = false;
    pcFollowed = false;
    bootLoader = true;
    current = FirmwareSpeed;
}

void DeviceLine::leaveBootLoader()
{
    bootLoader = false;
    current = IdentificationSpeed;
}

std::chrono::nanoseconds DeviceLine::byteTime(qint32 baud)
{
    if (baud <= 0)
        return std::chrono::nanoseconds::zero();
    return std::chrono::nanoseconds(std::chrono::nanoseconds::rep(BitsPerByte) * 1000000000 / baud);
}
