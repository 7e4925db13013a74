// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "outpost/outpost_global.h"

namespace fit {

class Mesg;

/// Receives finished messages, for example to write them.
class OUTPOST_EXPORT MesgListener
{
public:
    virtual ~MesgListener() = default;
    virtual void onMesg(const Mesg &mesg) = 0;

protected:
    MesgListener() = default;
    MesgListener(const MesgListener &) = default;
    MesgListener &operator=(const MesgListener &) = default;
};

} // namespace fit
