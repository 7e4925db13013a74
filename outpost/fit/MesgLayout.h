// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "outpost/fit/FieldLayout.h"
#include "outpost/outpost_global.h"

#include <cstddef>
#include <cstdint>
#include <vector>

namespace fit {

class Mesg;

/// The content of a definition message: which fields a local message number carries, in order.
class OUTPOST_EXPORT MesgLayout
{
public:
    static constexpr std::uint16_t NoGlobalNumber = 0xFFFF;

    /// A layout that serves no message, so the first message on its local number gets a definition.
    MesgLayout() = default;
    MesgLayout(std::uint16_t globalNumber, std::uint8_t localNumber, std::vector<FieldLayout> fields);

    /// The layout of a message's fields in the order they were set.
    static MesgLayout of(const Mesg &mesg);

    std::uint16_t globalNumber() const { return m_globalNumber; }
    std::uint8_t localNumber() const { return m_localNumber; }
    const std::vector<FieldLayout> &fields() const { return m_fields; }
    const FieldLayout *field(FieldNum number) const;

    /// Whether data messages of `wanted` can be written against this layout: same global and
    /// local number, and every wanted field present here at least as wide.
    bool serves(const MesgLayout &wanted) const;

    /// The definition message of this layout, record header included.
    std::vector<std::uint8_t> definitionBytes() const;

private:
    std::uint16_t m_globalNumber = NoGlobalNumber;
    std::uint8_t m_localNumber = 0;
    std::vector<FieldLayout> m_fields;
};

} // namespace fit
