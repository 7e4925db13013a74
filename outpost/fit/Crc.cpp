// SPDX-License-Identifier: GPL-3.0-or-later
#include "outpost/fit/Crc.h"

namespace fit {

namespace {

// Nibble table: the CRC of each four-bit value, so a byte takes two lookups.
constexpr std::uint16_t nibbleTable[16] = {
    0x0000, 0xCC01, 0xD801, 0x1400, 0xF001, 0x3C00, 0x2800, 0xE401,
    0xA001, 0x6C00, 0x7800, 0xB401, 0x5000, 0x9C01, 0x8801, 0x4400,
};

std::uint16_t step(std::uint16_t crc, std::uint8_t nibble)
{
    const std::uint16_t t = nibbleTable[crc & 0xF];
    crc = (crc >> 4) & 0x0FFF;
    return crc ^ t ^ nibbleTable[nibble & 0xF];
}

} // namespace

std::uint16_t Crc::get16(std::uint16_t crc, std::uint8_t byte)
{
    return step(step(crc, byte & 0xF), byte >> 4);
}

std::uint16_t Crc::calc16(const void *data, std::size_t size, std::uint16_t crc)
{
    const auto *bytes = static_cast<const std::uint8_t *>(data);
    for (std::size_t i = 0; i < size; ++i)
        crc = get16(crc, bytes[i]);
    return crc;
}

} // namespace fit
