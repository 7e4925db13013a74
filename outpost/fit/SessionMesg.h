#pragma once

#include "outpost/fit/Mesg.h"
#include "outpost/fit/MesgWithEvent.h"
#include "outpost/outpost_global.h"

namespace fit {

/// A `session` message: the totals of one ride.
class OUTPOST_EXPORT SessionMesg : public Mesg, public MesgWithEvent
{
public:
    SessionMesg();

    std::uint32_t getTimestamp() const override;
    void setTimestamp(std::uint32_t timestamp) override;
    std::uint8_t getEvent() const override;
    void setEvent(std::uint8_t event) override;
    std::uint8_t getEventType() const override;
    void setEventType(std::uint8_t eventType) override;
    std::uint8_t getEventGroup() const override;
    void setEventGroup(std::uint8_t eventGroup) override;
};

} // namespace fit
