// SPDX-License-Identifier: GPL-3.0-or-later
#include "outpost/fit/ProfileTable.h"

#include "outpost/fit/BaseType.h"

#include <map>

namespace fit {

namespace {

using Field = ProfileTable::Field;
using Message = ProfileTable::Message;

std::map<int, Message> buildTable()
{
    std::map<int, Message> table;
    table.emplace(ProfileTable::FileIdIndex,
                  Message{"file_id", 0,
                          {
                              {"type", "", 1, 0, FileIdField::Type, BaseType::Enum},
                              {"manufacturer", "", 1, 0, FileIdField::Manufacturer, BaseType::UInt16},
                              {"product", "", 1, 0, FileIdField::Product, BaseType::UInt16},
                          }});
    table.emplace(ProfileTable::ActivityIndex,
                  Message{"activity", 34,
                          {
                              {"timestamp", "", 1, 0, ActivityField::Timestamp, BaseType::UInt32},
                              {"total_timer_time", "s", 1000, 0, ActivityField::TotalTimerTime, BaseType::UInt32},
                              {"num_sessions", "", 1, 0, ActivityField::NumSessions, BaseType::UInt16},
                              {"type", "", 1, 0, ActivityField::Type, BaseType::Enum},
                              {"event", "", 1, 0, ActivityField::Event, BaseType::Enum},
                              {"event_type", "", 1, 0, ActivityField::EventType, BaseType::Enum},
                              {"event_group", "", 1, 0, ActivityField::EventGroup, BaseType::UInt8},
                          }});
    table.emplace(ProfileTable::SessionIndex,
                  Message{"session", 18,
                          {
                              {"timestamp", "s", 1, 0, SessionField::Timestamp, BaseType::UInt32},
                              {"event", "", 1, 0, SessionField::Event, BaseType::Enum},
                              {"event_type", "", 1, 0, SessionField::EventType, BaseType::Enum},
                              {"start_time", "", 1, 0, SessionField::StartTime, BaseType::UInt32},
                              {"sport", "", 1, 0, SessionField::Sport, BaseType::Enum},
                              {"total_elapsed_time", "s", 1000, 0, SessionField::TotalElapsedTime, BaseType::UInt32},
                              {"total_timer_time", "s", 1000, 0, SessionField::TotalTimerTime, BaseType::UInt32},
                              {"total_distance", "m", 100, 0, SessionField::TotalDistance, BaseType::UInt32},
                              {"total_calories", "kcal", 1, 0, SessionField::TotalCalories, BaseType::UInt16},
                              {"avg_speed", "m/s", 1000, 0, SessionField::AvgSpeed, BaseType::UInt16},
                              {"max_speed", "m/s", 1000, 0, SessionField::MaxSpeed, BaseType::UInt16},
                              {"avg_heart_rate", "bpm", 1, 0, SessionField::AvgHeartRate, BaseType::UInt8},
                              {"max_heart_rate", "bpm", 1, 0, SessionField::MaxHeartRate, BaseType::UInt8},
                              {"avg_cadence", "rpm", 1, 0, SessionField::AvgCadence, BaseType::UInt8},
                              {"max_cadence", "rpm", 1, 0, SessionField::MaxCadence, BaseType::UInt8},
                              {"avg_power", "W", 1, 0, SessionField::AvgPower, BaseType::UInt16},
                              {"max_power", "W", 1, 0, SessionField::MaxPower, BaseType::UInt16},
                              {"total_ascent", "m", 1, 0, SessionField::TotalAscent, BaseType::UInt16},
                              {"total_descent", "m", 1, 0, SessionField::TotalDescent, BaseType::UInt16},
                              {"event_group", "", 1, 0, SessionField::EventGroup, BaseType::UInt8},
                              {"max_altitude", "m", 5, 500, SessionField::MaxAltitude, BaseType::UInt16},
                              {"avg_pos_grade", "%", 100, 0, SessionField::AvgPosGrade, BaseType::SInt16},
                              {"avg_neg_grade", "%", 100, 0, SessionField::AvgNegGrade, BaseType::SInt16},
                              {"max_pos_grade", "%", 100, 0, SessionField::MaxPosGrade, BaseType::SInt16},
                              {"max_neg_grade", "%", 100, 0, SessionField::MaxNegGrade, BaseType::SInt16},
                              {"max_temperature", "C", 1, 0, SessionField::MaxTemperature, BaseType::SInt8},
                              {"avg_pos_vertical_speed", "m/s", 1000, 0, SessionField::AvgPosVerticalSpeed,
                               BaseType::SInt16},
                              {"avg_neg_vertical_speed", "m/s", 1000, 0, SessionField::AvgNegVerticalSpeed,
                               BaseType::SInt16},
                              {"max_pos_vertical_speed", "m/s", 1000, 0, SessionField::MaxPosVerticalSpeed,
                               BaseType::SInt16},
                              {"max_neg_vertical_speed", "m/s", 1000, 0, SessionField::MaxNegVerticalSpeed,
                               BaseType::SInt16},
                              {"time_in_hr_zone", "s", 1000, 0, SessionField::TimeInHrZone, BaseType::UInt32},
                          }});
    table.emplace(ProfileTable::LapIndex,
                  Message{"lap", 19,
                          {
                              {"timestamp", "s", 1, 0, LapField::Timestamp, BaseType::UInt32},
                              {"event", "", 1, 0, LapField::Event, BaseType::Enum},
                              {"event_type", "", 1, 0, LapField::EventType, BaseType::Enum},
                              {"total_elapsed_time", "s", 1000, 0, LapField::TotalElapsedTime, BaseType::UInt32},
                              {"total_timer_time", "s", 1000, 0, LapField::TotalTimerTime, BaseType::UInt32},
                              {"total_distance", "m", 100, 0, LapField::TotalDistance, BaseType::UInt32},
                              {"avg_speed", "m/s", 1000, 0, LapField::AvgSpeed, BaseType::UInt16},
                              {"max_speed", "m/s", 1000, 0, LapField::MaxSpeed, BaseType::UInt16},
                              {"avg_heart_rate", "bpm", 1, 0, LapField::AvgHeartRate, BaseType::UInt8},
                              {"max_heart_rate", "bpm", 1, 0, LapField::MaxHeartRate, BaseType::UInt8},
                              {"avg_cadence", "rpm", 1, 0, LapField::AvgCadence, BaseType::UInt8},
                              {"max_cadence", "rpm", 1, 0, LapField::MaxCadence, BaseType::UInt8},
                              {"avg_power", "W", 1, 0, LapField::AvgPower, BaseType::UInt16},
                              {"max_power", "W", 1, 0, LapField::MaxPower, BaseType::UInt16},
                              {"total_ascent", "m", 1, 0, LapField::TotalAscent, BaseType::UInt16},
                              {"total_descent", "m", 1, 0, LapField::TotalDescent, BaseType::UInt16},
                              {"sport", "", 1, 0, LapField::Sport, BaseType::Enum},
                              {"event_group", "", 1, 0, LapField::EventGroup, BaseType::UInt8},
                              {"max_altitude", "m", 5, 500, LapField::MaxAltitude, BaseType::UInt16},
                              {"avg_pos_grade", "%", 100, 0, LapField::AvgPosGrade, BaseType::SInt16},
                              {"avg_neg_grade", "%", 100, 0, LapField::AvgNegGrade, BaseType::SInt16},
                              {"max_pos_grade", "%", 100, 0, LapField::MaxPosGrade, BaseType::SInt16},
                              {"max_neg_grade", "%", 100, 0, LapField::MaxNegGrade, BaseType::SInt16},
                              {"max_temperature", "C", 1, 0, LapField::MaxTemperature, BaseType::SInt8},
                              {"avg_pos_vertical_speed", "m/s", 1000, 0, LapField::AvgPosVerticalSpeed, BaseType::SInt16},
                              {"avg_neg_vertical_speed", "m/s", 1000, 0, LapField::AvgNegVerticalSpeed, BaseType::SInt16},
                              {"max_pos_vertical_speed", "m/s", 1000, 0, LapField::MaxPosVerticalSpeed, BaseType::SInt16},
                              {"max_neg_vertical_speed", "m/s", 1000, 0, LapField::MaxNegVerticalSpeed, BaseType::SInt16},
                              {"time_in_hr_zone", "s", 1000, 0, LapField::TimeInHrZone, BaseType::UInt32},
                          }});
    table.emplace(ProfileTable::RecordIndex,
                  Message{"record", 20,
                          {
                              {"timestamp", "s", 1, 0, RecordField::Timestamp, BaseType::UInt32},
                              {"altitude", "m", 5, 500, RecordField::Altitude, BaseType::UInt16},
                              {"heart_rate", "bpm", 1, 0, RecordField::HeartRate, BaseType::UInt8},
                              {"cadence", "rpm", 1, 0, RecordField::Cadence, BaseType::UInt8},
                              {"distance", "m", 100, 0, RecordField::Distance, BaseType::UInt32},
                              {"speed", "m/s", 1000, 0, RecordField::Speed, BaseType::UInt16},
                              {"power", "watts", 1, 0, RecordField::Power, BaseType::UInt16},
                              {"temperature", "C", 1, 0, RecordField::Temperature, BaseType::SInt8},
                              {"left_right_balance", "", 1, 0, RecordField::LeftRightBalance, BaseType::UInt8},
                          }});
    return table;
}

} // namespace

const ProfileTable::Field *ProfileTable::Message::field(FieldNum number) const
{
    for (const Field &entry : fields) {
        if (entry.number == number)
            return &entry;
    }
    return nullptr;
}

const ProfileTable::Message *ProfileTable::message(int index)
{
    // Built on first use and never changed afterwards, so any thread may read it.
    static const std::map<int, Message> table = buildTable();
    const auto it = table.find(index);
    return it == table.end() ? nullptr : &it->second;
}

} // namespace fit
