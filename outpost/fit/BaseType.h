// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "outpost/outpost_global.h"

#include <array>
#include <cstdint>

namespace fit {

/// One FIT base type: the code written in definition messages, its size and its invalid value.
struct OUTPOST_EXPORT BaseType
{
    /// Codes as written in definition messages; the low five bits are the type number.
    enum Code : std::uint8_t {
        Enum = 0x00,
        SInt8 = 0x01,
        UInt8 = 0x02,
        SInt16 = 0x83,
        UInt16 = 0x84,
        SInt32 = 0x85,
        UInt32 = 0x86,
        String = 0x07,
        Float32 = 0x88,
        Float64 = 0x89,
        UInt8z = 0x0A,
        UInt16z = 0x8B,
        UInt32z = 0x8C,
        Byte = 0x0D,
    };

    static constexpr std::uint8_t NumberMask = 0x1F;
    static constexpr std::uint8_t Count = 14;

    /// The base type of a code, or nullptr when its type number is unsupported (above 13).
    static const BaseType *fromCode(std::uint8_t code);

    std::uint8_t number;
    std::uint8_t code;
    std::uint8_t size;
    std::array<std::uint8_t, 8> invalid; ///< little-endian; the first `size` bytes count
    const char *name;
};

} // namespace fit
