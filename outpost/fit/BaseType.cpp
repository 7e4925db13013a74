// SPDX-License-Identifier: GPL-3.0-or-later
#include "outpost/fit/BaseType.h"

namespace fit {

namespace {

const BaseType baseTypes[BaseType::Count] = {
    {0, BaseType::Enum, 1, {0xFF}, "enum"},
    {1, BaseType::SInt8, 1, {0x7F}, "sint8"},
    {2, BaseType::UInt8, 1, {0xFF}, "uint8"},
    {3, BaseType::SInt16, 2, {0xFF, 0x7F}, "sint16"},
    {4, BaseType::UInt16, 2, {0xFF, 0xFF}, "uint16"},
    {5, BaseType::SInt32, 4, {0xFF, 0xFF, 0xFF, 0x7F}, "sint32"},
    {6, BaseType::UInt32, 4, {0xFF, 0xFF, 0xFF, 0xFF}, "uint32"},
    {7, BaseType::String, 1, {0x00}, "string"},
    {8, BaseType::Float32, 4, {0xFF, 0xFF, 0xFF, 0xFF}, "float32"},
    {9, BaseType::Float64, 8, {0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF}, "float64"},
    {10, BaseType::UInt8z, 1, {0x00}, "uint8z"},
    {11, BaseType::UInt16z, 2, {0x00, 0x00}, "uint16z"},
    {12, BaseType::UInt32z, 4, {0x00, 0x00, 0x00, 0x00}, "uint32z"},
    {13, BaseType::Byte, 1, {0xFF}, "byte"},
};

} // namespace

const BaseType *BaseType::fromCode(std::uint8_t code)
{
    const std::uint8_t number = code & NumberMask;
    return number < Count ? &baseTypes[number] : nullptr;
}

} // namespace fit
