#include "outpost/fit/SessionMesg.h"

namespace fit {

SessionMesg::SessionMesg() : Mesg(ProfileTable::SessionIndex) {}

std::uint32_t SessionMesg::getTimestamp() const
{
    return static_cast<std::uint32_t>(rawValue(SessionField::Timestamp, 0xFFFFFFFF));
}

void SessionMesg::setTimestamp(std::uint32_t timestamp)
{
    setFieldUInt32(SessionField::Timestamp, timestamp);
}

std::uint8_t SessionMesg::getEvent() const
{
    return static_cast<std::uint8_t>(rawValue(SessionField::Event, 0xFF));
}

void SessionMesg::setEvent(std::uint8_t event)
{
    setFieldEnum(SessionField::Event, event);
}

std::uint8_t SessionMesg::getEventType() const
{
    return static_cast<std::uint8_t>(rawValue(SessionField::EventType, 0xFF));
}

void SessionMesg::setEventType(std::uint8_t eventType)
{
    setFieldEnum(SessionField::EventType, eventType);
}

std::uint8_t SessionMesg::getEventGroup() const
{
    return static_cast<std::uint8_t>(rawValue(SessionField::EventGroup, 0xFF));
}

void SessionMesg::setEventGroup(std::uint8_t eventGroup)
{
    setFieldUInt8(SessionField::EventGroup, eventGroup);
}

} // namespace fit
