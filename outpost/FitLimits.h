// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

/// The largest values of a device record that the FIT activity export writes as they are, in the
/// record's units: a larger one does not fit its field in the file and is left out of it. Where a
/// user types values, they are kept within these as well as within the record.
namespace FitLimits {

/// session.total_calories: uint16 kcal.
constexpr quint32 Calories = 65534;
/// session.avg_speed and max_speed: uint16 mm/s, so 235.9 km/h in tenths of km/h.
constexpr quint16 SpeedTenthsKmh = 2359;
/// session.total_ascent and total_descent: uint16 m.
constexpr quint32 AltitudeChange = 65534;
/// session.max_altitude: uint16 of (m + 500) × 5.
constexpr quint16 MaxAltitude = 12606;
/// session heart rates: uint8 bpm.
constexpr quint8 HeartRate = 254;
/// session cadences: uint8 rpm.
constexpr quint16 Cadence = 254;
/// session grades: sint16 of % × 100.
constexpr quint16 Gradient = 327;
/// session.max_temperature: sint8 °C.
constexpr qint8 Temperature = 126;

} // namespace FitLimits
