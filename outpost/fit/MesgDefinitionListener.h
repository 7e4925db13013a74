// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "outpost/outpost_global.h"

namespace fit {

class MesgLayout;

/// Receives message definitions, for example to write them ahead of their data messages.
class OUTPOST_EXPORT MesgDefinitionListener
{
public:
    virtual ~MesgDefinitionListener() = default;
    virtual void onMesgDefinition(const MesgLayout &layout) = 0;

protected:
    MesgDefinitionListener() = default;
    MesgDefinitionListener(const MesgDefinitionListener &) = default;
    MesgDefinitionListener &operator=(const MesgDefinitionListener &) = default;
};

} // namespace fit
