// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "outpost/outpost_global.h"

#include <QDateTime>
#include <QtGlobal>

#include <vector>

/// One data sample of a raw ride record, in the device's units.
struct OUTPOST_EXPORT RecordSample
{
    /// The balance byte of a sample taken without a power meter that measures both legs.
    static constexpr quint8 NoBalance = 255;

    quint32 timestamp = 0; ///< FIT time stamp
    quint16 speed = 0; ///< 0.1 km/h
    quint8 heartRate = 0; ///< bpm
    quint8 cadence = 0; ///< rpm
    quint32 distance = 0; ///< mm since the start
    quint16 power = 0; ///< W
    quint16 altitude = 0; ///< m
    qint8 temperature = 0; ///< °C
    quint8 balance = NoBalance; ///< left/right pedal balance

    bool hasBalance() const { return balance != NoBalance; }
};

/// A raw ride record of the device, decoded: the header's values as integers (times of day and
/// durations in seconds) and the data samples in order, each with its FIT time stamp.
struct OUTPOST_EXPORT ParsedRecord
{
    static constexpr int HeaderSize = 64;
    static constexpr int BlockSize = 15;

    /// False when the bytes are shorter than the header or its start is not a date and time;
    /// such a record is not exported.
    bool valid = false;
    QDateTime start; ///< local date and time the ride started
    quint32 startTimestamp = 0; ///< FIT time stamp of the start

    qint8 maxTemperature = 0; ///< °C
    qint8 headerParamA = 0;
    quint8 avgHeartRate = 0;
    quint8 maxHeartRate = 0;
    int timeParamA = 0; ///< s
    int hrInZoneSeconds = 0;
    int timeParamB = 0; ///< s
    quint16 maxSpeed = 0; ///< 0.1 km/h
    quint16 avgSpeed = 0; ///< 0.1 km/h
    quint32 distance = 0; ///< mm
    int durationParam = 0; ///< s
    quint32 altGain = 0; ///< m
    quint32 altLoss = 0; ///< m
    quint16 maxAlt = 0; ///< m
    quint16 ascentAvgGradient = 0; ///< %
    quint16 ascentMaxGradient = 0;
    quint16 descentAvgGradient = 0;
    quint16 descentMaxGradient = 0;
    quint16 ascentAvgVario = 0; ///< m/h
    quint16 ascentMaxVario = 0;
    quint16 descentAvgVario = 0;
    quint16 descentMaxVario = 0;
    quint16 avgPower = 0; ///< W
    quint16 maxPower = 0;
    quint8 avgCadence = 0; ///< rpm
    quint8 maxCadence = 0;
    qint8 sampleInterval = 0; ///< s between two samples

    int timeMarkCount = 0; ///< time marks read, including those that name no date and time
    std::vector<RecordSample> samples;

    /// Seconds from the start to the last sample's time stamp (unsigned 32-bit); 0 without samples.
    quint32 elapsed() const { return samples.empty() ? 0 : samples.back().timestamp - startTimestamp; }
};
