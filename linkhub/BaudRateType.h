// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

/// Line speeds the bike computers use; each value equals the rate in baud.
enum BaudRateType : qint32 {
    BAUD600 = 600,
    BAUD9600 = 9600,
};
