// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "outpost/fit/EventFieldMesg.h"
#include "outpost/outpost_global.h"

namespace fit {

/// A `session` message: the totals of one ride.
class OUTPOST_EXPORT SessionMesg : public EventFieldMesg
{
public:
    SessionMesg();
};

} // namespace fit
