// SPDX-License-Identifier: GPL-3.0-or-later
#include "outpost/fit/EventFieldMesg.h"

namespace fit {

std::uint32_t EventFieldMesg::getTimestamp() const
{
    return static_cast<std::uint32_t>(rawValue(m_eventFields.timestamp, 0xFFFFFFFF));
}

void EventFieldMesg::setTimestamp(std::uint32_t timestamp)
{
    setFieldUInt32(m_eventFields.timestamp, timestamp);
}

std::uint8_t EventFieldMesg::getEvent() const
{
    return static_cast<std::uint8_t>(rawValue(m_eventFields.event, 0xFF));
}

void EventFieldMesg::setEvent(std::uint8_t event)
{
    setFieldEnum(m_eventFields.event, event);
}

std::uint8_t EventFieldMesg::getEventType() const
{
    return static_cast<std::uint8_t>(rawValue(m_eventFields.eventType, 0xFF));
}

void EventFieldMesg::setEventType(std::uint8_t eventType)
{
    setFieldEnum(m_eventFields.eventType, eventType);
}

std::uint8_t EventFieldMesg::getEventGroup() const
{
    return static_cast<std::uint8_t>(rawValue(m_eventFields.eventGroup, 0xFF));
}

void EventFieldMesg::setEventGroup(std::uint8_t eventGroup)
{
    setFieldUInt8(m_eventFields.eventGroup, eventGroup);
}

} // namespace fit
