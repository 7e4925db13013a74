// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "outpost/outpost_global.h"

#include <cstdint>
#include <vector>

namespace fit {

using FieldNum = std::uint8_t;

/// The part of the FIT Profile 8.00 that the exporters write, kept at the Profile's own indexes.
class OUTPOST_EXPORT ProfileTable
{
public:
    struct Field
    {
        const char *name;
        const char *units;
        float scale; ///< 1 where the Profile gives none
        float offset; ///< 0 where the Profile gives none
        FieldNum number;
        std::uint8_t baseType; ///< a BaseType::Code
    };

    struct Message
    {
        const char *name;
        std::uint16_t globalNumber;
        std::vector<Field> fields;

        /// The field entry with that number, or nullptr when the message has none.
        const Field *field(FieldNum number) const;
    };

    /// Indexes of the messages in the Profile's order.
    enum MesgIndex : int {
        FileIdIndex = 0,
        ActivityIndex = 21,
        SessionIndex = 22,
        LapIndex = 23,
        RecordIndex = 25,
    };

    /// The message entry at a Profile index, or nullptr for an index this table does not carry.
    static const Message *message(int index);
};

namespace FileIdField {
enum : FieldNum { Type = 0, Manufacturer = 1, Product = 2 };
}

namespace ActivityField {
enum : FieldNum {
    TotalTimerTime = 0,
    NumSessions = 1,
    Type = 2,
    Event = 3,
    EventType = 4,
    EventGroup = 6,
    Timestamp = 253,
};
}

namespace SessionField {
enum : FieldNum {
    Event = 0,
    EventType = 1,
    StartTime = 2,
    Sport = 5,
    TotalElapsedTime = 7,
    TotalTimerTime = 8,
    TotalDistance = 9,
    TotalCalories = 11,
    AvgSpeed = 14,
    MaxSpeed = 15,
    AvgHeartRate = 16,
    MaxHeartRate = 17,
    AvgCadence = 18,
    MaxCadence = 19,
    AvgPower = 20,
    MaxPower = 21,
    TotalAscent = 22,
    TotalDescent = 23,
    EventGroup = 27,
    MaxAltitude = 50,
    AvgPosGrade = 53,
    AvgNegGrade = 54,
    MaxPosGrade = 55,
    MaxNegGrade = 56,
    MaxTemperature = 58,
    AvgPosVerticalSpeed = 60,
    AvgNegVerticalSpeed = 61,
    MaxPosVerticalSpeed = 62,
    MaxNegVerticalSpeed = 63,
    TimeInHrZone = 65,
    Timestamp = 253,
};
}

namespace LapField {
enum : FieldNum {
    Event = 0,
    EventType = 1,
    TotalElapsedTime = 7,
    TotalTimerTime = 8,
    TotalDistance = 9,
    AvgSpeed = 13,
    MaxSpeed = 14,
    AvgHeartRate = 15,
    MaxHeartRate = 16,
    AvgCadence = 17,
    MaxCadence = 18,
    AvgPower = 19,
    MaxPower = 20,
    TotalAscent = 21,
    TotalDescent = 22,
    Sport = 25,
    EventGroup = 26,
    MaxAltitude = 43,
    AvgPosGrade = 46,
    AvgNegGrade = 47,
    MaxPosGrade = 48,
    MaxNegGrade = 49,
    MaxTemperature = 51,
    AvgPosVerticalSpeed = 53,
    AvgNegVerticalSpeed = 54,
    MaxPosVerticalSpeed = 55,
    MaxNegVerticalSpeed = 56,
    TimeInHrZone = 57,
    Timestamp = 253,
};
}

namespace RecordField {
enum : FieldNum {
    Altitude = 2,
    HeartRate = 3,
    Cadence = 4,
    Distance = 5,
    Speed = 6,
    Power = 7,
    Temperature = 13,
    LeftRightBalance = 30,
    Timestamp = 253,
};
}

} // namespace fit
