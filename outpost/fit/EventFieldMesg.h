// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "outpost/fit/Mesg.h"
#include "outpost/fit/MesgWithEvent.h"
#include "outpost/outpost_global.h"

namespace fit {

/// A message with time stamp and event fields: the shared part of the activity, session and lap
/// messages, which differ only in the numbers of those fields.
class OUTPOST_EXPORT EventFieldMesg : public Mesg, public MesgWithEvent
{
public:
    std::uint32_t getTimestamp() const override;
    void setTimestamp(std::uint32_t timestamp) override;
    std::uint8_t getEvent() const override;
    void setEvent(std::uint8_t event) override;
    std::uint8_t getEventType() const override;
    void setEventType(std::uint8_t eventType) override;
    std::uint8_t getEventGroup() const override;
    void setEventGroup(std::uint8_t eventGroup) override;

protected:
    struct EventFields
    {
        FieldNum timestamp;
        FieldNum event;
        FieldNum eventType;
        FieldNum eventGroup;
    };

    EventFieldMesg(int profileIndex, EventFields fields) : Mesg(profileIndex), m_eventFields(fields) {}

private:
    EventFields m_eventFields;
};

} // namespace fit
