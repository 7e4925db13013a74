// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "outpost/fit/ProfileTable.h"
#include "outpost/outpost_global.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace fit {

/// The value of one field of a message: its profile entry and its bytes, one little-endian
/// sequence per array element.
class OUTPOST_EXPORT FieldValue
{
public:
    /// A definition message describes a field's size in one byte.
    static constexpr std::size_t MaxSize = 255;

    explicit FieldValue(const ProfileTable::Field &profile);

    FieldNum number() const { return m_profile->number; }
    const ProfileTable::Field &profile() const { return *m_profile; }

    std::size_t elementCount() const { return m_elements.size(); }
    const std::vector<std::uint8_t> &element(std::size_t index) const { return m_elements.at(index); }

    /// Stores the bytes of one element; elements skipped on the way are filled with the
    /// base type's invalid value. False, and nothing changed, when the field would outgrow MaxSize.
    bool setElement(std::size_t index, std::vector<std::uint8_t> bytes);
    /// The same from `size` bytes at `data`; replacing an element of the same size allocates nothing.
    bool setElement(std::size_t index, const std::uint8_t *data, std::size_t size);

    /// All elements back to back, as they go into a data message.
    std::vector<std::uint8_t> bytes() const;
    std::size_t size() const;

private:
    const ProfileTable::Field *m_profile;
    std::vector<std::vector<std::uint8_t>> m_elements;
};

} // namespace fit
