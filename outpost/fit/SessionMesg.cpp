// SPDX-License-Identifier: GPL-3.0-or-later
#include "outpost/fit/SessionMesg.h"

#include "outpost/fit/ProfileTable.h"

namespace fit {

SessionMesg::SessionMesg()
    : EventFieldMesg(ProfileTable::SessionIndex,
                     {SessionField::Timestamp, SessionField::Event, SessionField::EventType, SessionField::EventGroup})
{
}

} // namespace fit
