// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "outpost/fit/EventFieldMesg.h"
#include "outpost/outpost_global.h"

namespace fit {

/// A `lap` message: the totals of one part of a ride.
class OUTPOST_EXPORT LapMesg : public EventFieldMesg
{
public:
    LapMesg();
};

} // namespace fit
