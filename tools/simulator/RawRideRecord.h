// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>

/// A raw ride record as the device keeps it: a 64-byte header with the ride's totals, then a
/// 15-byte block per second of riding, and a time mark after each stop. The sample ride is a
/// hilly afternoon with a café stop, a power meter that reports no pedal balance for the first
/// minutes and while coasting. Written byte by byte here, apart from the export library's reader.
class RawRideRecord
{
public:
    /// The local date and time the sample ride starts.
    static QDateTime sampleStart();
    /// Seconds of riding, one sample each.
    static int sampleCount();
    /// Time marks in the sample ride (one after each stop).
    static int timeMarkCount();
    /// The whole sample ride.
    static QByteArray sampleRide();
};
