// SPDX-License-Identifier: GPL-3.0-or-later
#include "outpost/fit/LapMesg.h"

#include "outpost/fit/ProfileTable.h"

namespace fit {

LapMesg::LapMesg()
    : EventFieldMesg(ProfileTable::LapIndex,
                     {LapField::Timestamp, LapField::Event, LapField::EventType, LapField::EventGroup})
{
}

} // namespace fit
