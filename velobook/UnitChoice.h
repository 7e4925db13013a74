// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "logbook/DisplayUnits.h"

/// Kilometres or miles: the window shows every distance and speed in the one the user chose, kept
/// in the settings store, whatever units each device displays.
class UnitChoice
{
public:
    static DisplayUnits current();
    static void setMiles(bool miles);
};
