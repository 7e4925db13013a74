// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "outpost/fit/ProfileTable.h"

#include <cstdint>

namespace fit {

/// One field of a definition message: number, size in bytes and base type code.
struct FieldLayout
{
    FieldNum number;
    std::uint8_t size;
    std::uint8_t baseType;

    bool operator==(const FieldLayout &other) const
    {
        return number == other.number && size == other.size && baseType == other.baseType;
    }
};

} // namespace fit
