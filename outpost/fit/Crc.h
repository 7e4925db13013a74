// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "outpost/outpost_global.h"

#include <cstddef>
#include <cstdint>

namespace fit {

/// The CRC-16 of the FIT standard (reflected polynomial 0x8005, initial value 0, no final XOR).
class OUTPOST_EXPORT Crc
{
public:
    /// Feeds one byte into a running CRC.
    static std::uint16_t get16(std::uint16_t crc, std::uint8_t byte);
    /// CRC of a whole buffer, continuing from `crc`.
    static std::uint16_t calc16(const void *data, std::size_t size, std::uint16_t crc = 0);
};

} // namespace fit
