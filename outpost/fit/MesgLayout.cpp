// SPDX-License-Identifier: GPL-3.0-or-later
#include "outpost/fit/MesgLayout.h"

#include "outpost/fit/Mesg.h"

namespace fit {

namespace {

constexpr std::uint8_t DefinitionHeader = 0x40;
constexpr std::uint8_t LocalNumberMask = 0x0F;
constexpr std::uint8_t LittleEndianArchitecture = 0;

} // namespace

MesgLayout::MesgLayout(std::uint16_t globalNumber, std::uint8_t localNumber, std::vector<FieldLayout> fields)
    : m_globalNumber(globalNumber), m_localNumber(localNumber & LocalNumberMask), m_fields(std::move(fields))
{
}

MesgLayout MesgLayout::of(const Mesg &mesg)
{
    std::vector<FieldLayout> fields;
    fields.reserve(mesg.fields().size());
    for (const FieldValue &value : mesg.fields()) {
        // FieldValue keeps its size within one byte.
        fields.push_back({value.number(), static_cast<std::uint8_t>(value.size()), value.profile().baseType});
    }
    return MesgLayout(mesg.globalNumber(), mesg.localNumber(), std::move(fields));
}

const FieldLayout *MesgLayout::field(FieldNum number) const
{
    for (const FieldLayout &entry : m_fields) {
        if (entry.number == number)
            return &entry;
    }
    return nullptr;
}

bool MesgLayout::serves(const MesgLayout &wanted) const
{
    if (m_globalNumber != wanted.m_globalNumber || m_localNumber != wanted.m_localNumber)
        return false;
    for (const FieldLayout &needed : wanted.m_fields) {
        const FieldLayout *present = field(needed.number);
        if (!present || present->size < needed.size)
            return false;
    }
    return true;
}

std::vector<std::uint8_t> MesgLayout::definitionBytes() const
{
    std::vector<std::uint8_t> bytes;
    bytes.reserve(6 + 3 * m_fields.size());
    bytes.push_back(DefinitionHeader | (m_localNumber & LocalNumberMask));
    bytes.push_back(0); // reserved
    bytes.push_back(LittleEndianArchitecture);
    bytes.push_back(static_cast<std::uint8_t>(m_globalNumber & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(m_globalNumber >> 8));
    bytes.push_back(static_cast<std::uint8_t>(m_fields.size()));
    for (const FieldLayout &entry : m_fields) {
        bytes.push_back(entry.number);
        bytes.push_back(entry.size);
        bytes.push_back(entry.baseType);
    }
    return bytes;
}

} // namespace fit
