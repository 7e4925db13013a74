// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "outpost/outpost_global.h"

#include <cstdint>

namespace fit {

/// The time stamp and event fields that activity, session and lap messages share, each message
/// type at its own field numbers. Getters give the base type's invalid value for an unset field.
class OUTPOST_EXPORT MesgWithEvent
{
public:
    virtual ~MesgWithEvent() = default;

    virtual std::uint32_t getTimestamp() const = 0;
    virtual void setTimestamp(std::uint32_t timestamp) = 0;
    virtual std::uint8_t getEvent() const = 0;
    virtual void setEvent(std::uint8_t event) = 0;
    virtual std::uint8_t getEventType() const = 0;
    virtual void setEventType(std::uint8_t eventType) = 0;
    virtual std::uint8_t getEventGroup() const = 0;
    virtual void setEventGroup(std::uint8_t eventGroup) = 0;

protected:
    MesgWithEvent() = default;
    MesgWithEvent(const MesgWithEvent &) = default;
    MesgWithEvent &operator=(const MesgWithEvent &) = default;
};

} // namespace fit
