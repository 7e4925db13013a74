// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

/// Factors between the record's metric units and the units the device displays (its unitSystem).
/// Display factors turn stored values into shown ones; write-back factors turn them back.
/// Shared by everything that shows or writes values in the device's units.
struct UnitFactors
{
    double distanceDisplay; ///< mm to km or miles
    double speedDisplay; ///< km/h to km/h or mph (after dividing tenths by 10)
    double altitudeDisplay; ///< m to m or feet
    double distanceWriteBack; ///< km or miles to mm
    double speedWriteBack; ///< km/h or mph to km/h (before multiplying by 10)
    double altitudeWriteBack; ///< m or feet to m

    /// The factors of a record's unitSystem: 0 metric, anything else imperial.
    static const UnitFactors &forSystem(int unitSystem) { return unitSystem == 0 ? metric() : imperial(); }

    static const UnitFactors &metric()
    {
        static const UnitFactors factors{1e-06, 1.0, 1.0, 1000000.0, 1.0, 1.0};
        return factors;
    }

    /// The device's own constants, kept as they are so that round trips match the device.
    static const UnitFactors &imperial()
    {
        static const UnitFactors factors{6.21371192237334e-07, 0.621371192237334, 3.2808399,
                                         1609344.0, 1.609344, 0.304799999536704};
        return factors;
    }
};
