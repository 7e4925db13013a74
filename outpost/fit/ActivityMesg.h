// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "outpost/fit/EventFieldMesg.h"
#include "outpost/outpost_global.h"

namespace fit {

/// An `activity` message: the summary that closes an activity file.
class OUTPOST_EXPORT ActivityMesg : public EventFieldMesg
{
public:
    ActivityMesg();
};

} // namespace fit
