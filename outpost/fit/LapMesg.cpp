#include "outpost/fit/LapMesg.h"

namespace fit {

LapMesg::LapMesg() : Mesg(ProfileTable::LapIndex) {}

std::uint32_t LapMesg::getTimestamp() const
{
    return static_cast<std::uint32_t>(rawValue(LapField::Timestamp, 0xFFFFFFFF));
}

void LapMesg::setTimestamp(std::uint32_t timestamp)
{
    setFieldUInt32(LapField::Timestamp, timestamp);
}

std::uint8_t LapMesg::getEvent() const
{
    return static_cast<std::uint8_t>(rawValue(LapField::Event, 0xFF));
}

void LapMesg::setEvent(std::uint8_t event)
{
    setFieldEnum(LapField::Event, event);
}

std::uint8_t LapMesg::getEventType() const
{
    return static_cast<std::uint8_t>(rawValue(LapField::EventType, 0xFF));
}

void LapMesg::setEventType(std::uint8_t eventType)
{
    setFieldEnum(LapField::EventType, eventType);
}

std::uint8_t LapMesg::getEventGroup() const
{
    return static_cast<std::uint8_t>(rawValue(LapField::EventGroup, 0xFF));
}

void LapMesg::setEventGroup(std::uint8_t eventGroup)
{
    setFieldUInt8(LapField::EventGroup, eventGroup);
}

} // namespace fit
