// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDateTime>

#include <cstdint>

/// Values and conversions that both FIT exports write the same way. Internal to the export library.
namespace FitValues {

// FIT time stamps count seconds from 1989-12-31 00:00:00 UTC.
constexpr qint64 FitEpochSecsSinceUnixEpoch = 631065600;

constexpr std::uint16_t ManufacturerVelquist = 77;
constexpr std::uint8_t FileTypeActivity = 4;
constexpr std::uint8_t ActivityType = 2;
// The activity carries the session event and the session the activity event: that is what every
// file written so far holds, and readers take the ride from the session's totals either way.
constexpr std::uint8_t EventActivity = 26;
constexpr std::uint8_t EventSession = 8;
constexpr std::uint8_t EventTypeStart = 0;
constexpr std::uint8_t SportCycling = 2;

constexpr double SecondsPerHour = 3600.0;
constexpr double KmhPerMps = 3.6;

/// The instant of a date-time counted from the FIT epoch. A local date-time is the wall clock of
/// the zone it was taken in, so its true instant counts, in summer as in winter. Dates before the
/// epoch wrap around in 32 bits as the format's unsigned field does.
inline std::uint32_t fitTimestamp(const QDateTime &dateTime)
{
    return static_cast<std::uint32_t>(dateTime.toSecsSinceEpoch() - FitEpochSecsSinceUnixEpoch);
}

inline float metresPerSecond(quint16 tenthsKmh)
{
    return static_cast<float>(tenthsKmh / 10.0 / KmhPerMps);
}

inline float metresPerSecondFromMetresPerHour(quint16 metresPerHour)
{
    return static_cast<float>(metresPerHour / SecondsPerHour);
}

/// Millimetres in metres, as the file takes distances.
inline float metres(quint32 millimetres)
{
    return static_cast<float>(millimetres / 1000.0);
}

} // namespace FitValues
