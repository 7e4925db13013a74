#include "outpost/fit/ActivityMesg.h"

namespace fit {

ActivityMesg::ActivityMesg() : Mesg(ProfileTable::ActivityIndex) {}

std::uint32_t ActivityMesg::getTimestamp() const
{
    return static_cast<std::uint32_t>(rawValue(ActivityField::Timestamp, 0xFFFFFFFF));
}

void ActivityMesg::setTimestamp(std::uint32_t timestamp)
{
    setFieldUInt32(ActivityField::Timestamp, timestamp);
}

std::uint8_t ActivityMesg::getEvent() const
{
    return static_cast<std::uint8_t>(rawValue(ActivityField::Event, 0xFF));
}

void ActivityMesg::setEvent(std::uint8_t event)
{
    setFieldEnum(ActivityField::Event, event);
}

std::uint8_t ActivityMesg::getEventType() const
{
    return static_cast<std::uint8_t>(rawValue(ActivityField::EventType, 0xFF));
}

void ActivityMesg::setEventType(std::uint8_t eventType)
{
    setFieldEnum(ActivityField::EventType, eventType);
}

std::uint8_t ActivityMesg::getEventGroup() const
{
    return static_cast<std::uint8_t>(rawValue(ActivityField::EventGroup, 0xFF));
}

void ActivityMesg::setEventGroup(std::uint8_t eventGroup)
{
    setFieldUInt8(ActivityField::EventGroup, eventGroup);
}

} // namespace fit
