// SPDX-License-Identifier: GPL-3.0-or-later
#include "outpost/fit/ActivityMesg.h"

#include "outpost/fit/ProfileTable.h"

namespace fit {

ActivityMesg::ActivityMesg()
    : EventFieldMesg(ProfileTable::ActivityIndex,
                     {ActivityField::Timestamp, ActivityField::Event, ActivityField::EventType, ActivityField::EventGroup})
{
}

} // namespace fit
