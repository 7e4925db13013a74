// SPDX-License-Identifier: GPL-3.0-or-later
#include "outpost/fit/Mesg.h"

#include "outpost/fit/BaseType.h"
#include "outpost/fit/RuntimeException.h"

#include <QtGlobal>

#include <array>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>

namespace fit {

// A value's bytes on the stack: setting a field again, once per sample of a ride, then
// allocates nothing.
struct ValueBytes
{
    std::array<std::uint8_t, 8> data{};
    std::size_t size = 0;
};

namespace {

ValueBytes littleEndian(std::uint64_t value, std::size_t size)
{
    ValueBytes bytes;
    bytes.size = size;
    for (std::size_t i = 0; i < size; ++i)
        bytes.data[i] = static_cast<std::uint8_t>(value >> (8 * i));
    return bytes;
}

// The values a base type holds: its invalid value is not among them, since writing it would say
// "no value"; the z types mark "no value" with zero, which stays writable as the zero it is.
struct Range
{
    double lowest;
    double highest;
};

Range rangeOf(const BaseType &type)
{
    const double bits = 8.0 * type.size;
    switch (type.code) {
    case BaseType::SInt8:
    case BaseType::SInt16:
    case BaseType::SInt32:
        return {-std::ldexp(1.0, int(bits) - 1), std::ldexp(1.0, int(bits) - 1) - 2.0};
    case BaseType::UInt8z:
    case BaseType::UInt16z:
    case BaseType::UInt32z:
        return {0.0, std::ldexp(1.0, int(bits)) - 1.0};
    default:
        return {0.0, std::ldexp(1.0, int(bits)) - 2.0};
    }
}

} // namespace

Mesg::Mesg(int profileIndex) : m_profile(ProfileTable::message(profileIndex))
{
    if (!m_profile)
        throw RuntimeException("no profile message at index " + std::to_string(profileIndex));
}

Mesg::~Mesg() = default;

void Mesg::setLocalNumber(std::uint8_t localNumber)
{
    if (localNumber <= MaxLocalNumber)
        m_localNumber = localNumber;
}

const FieldValue *Mesg::field(FieldNum number) const
{
    for (const FieldValue &value : m_fields) {
        if (value.number() == number)
            return &value;
    }
    return nullptr;
}

bool Mesg::setFieldEnum(FieldNum number, std::uint8_t value, std::size_t index)
{
    return setFieldBytes(number, index, littleEndian(value, 1));
}

bool Mesg::setFieldSInt8(FieldNum number, std::int8_t value, std::size_t index)
{
    return setFieldBytes(number, index, littleEndian(static_cast<std::uint8_t>(value), 1));
}

bool Mesg::setFieldUInt8(FieldNum number, std::uint8_t value, std::size_t index)
{
    return setFieldBytes(number, index, littleEndian(value, 1));
}

bool Mesg::setFieldUInt16(FieldNum number, std::uint16_t value, std::size_t index)
{
    return setFieldBytes(number, index, littleEndian(value, 2));
}

bool Mesg::setFieldUInt32(FieldNum number, std::uint32_t value, std::size_t index)
{
    return setFieldBytes(number, index, littleEndian(value, 4));
}

bool Mesg::setFieldReal(FieldNum number, float value, std::size_t index)
{
    const ProfileTable::Field *entry = profileField(number);
    if (!entry)
        return false;
    const BaseType *type = BaseType::fromCode(entry->baseType);
    if (!type)
        return false;

    const double scaled = (static_cast<double>(value) + entry->offset) * entry->scale;
    if (type->code == BaseType::Float32) {
        const float narrowed = static_cast<float>(scaled);
        std::uint32_t bits = 0;
        std::memcpy(&bits, &narrowed, sizeof bits);
        return setFieldBytes(number, index, littleEndian(bits, 4));
    }
    if (type->code == BaseType::Float64) {
        std::uint64_t bits = 0;
        std::memcpy(&bits, &scaled, sizeof bits);
        return setFieldBytes(number, index, littleEndian(bits, 8));
    }

    if (!std::isfinite(scaled))
        return setFieldBytes(number, index, ValueBytes{type->invalid, type->size});
    return setFieldScaled(*entry, index, value, scaled);
}

bool Mesg::setFieldInteger(FieldNum number, std::int64_t value, std::size_t index)
{
    const ProfileTable::Field *entry = profileField(number);
    if (!entry)
        return false;
    const double given = static_cast<double>(value);
    return setFieldScaled(*entry, index, given, (given + entry->offset) * entry->scale);
}

bool Mesg::setFieldScaled(const ProfileTable::Field &entry, std::size_t index, double given, double scaled)
{
    const BaseType *type = BaseType::fromCode(entry.baseType);
    if (!type)
        return false;
    const double rounded = std::trunc(scaled >= 0 ? scaled + 0.5 : scaled - 0.5);
    const Range range = rangeOf(*type);
    if (rounded >= range.lowest && rounded <= range.highest) {
        const auto bits = static_cast<std::uint64_t>(static_cast<std::int64_t>(rounded));
        return setFieldBytes(entry.number, index, littleEndian(bits, type->size));
    }
    if (!setFieldBytes(entry.number, index, ValueBytes{type->invalid, type->size}))
        return false;
    m_leftOut.push_back({entry.number, index, given});
    return true;
}

void Mesg::forgetLeftOut(FieldNum number, std::size_t index)
{
    for (auto it = m_leftOut.begin(); it != m_leftOut.end(); ++it) {
        if (it->number == number && it->index == index) {
            m_leftOut.erase(it);
            return;
        }
    }
}

std::vector<std::string> Mesg::leftOutLines() const
{
    std::vector<std::string> lines;
    for (const LeftOut &entry : m_leftOut) {
        const ProfileTable::Field *field = m_profile->field(entry.number);
        std::string units = field && field->units[0] ? std::string(" ") + field->units : std::string();
        char value[32];
        std::snprintf(value, sizeof value, "%g", entry.value);
        lines.push_back(std::string("FIT field ") + m_profile->name + "." + (field ? field->name : "?")
                        + " cannot hold " + value + units + " (left out)");
    }
    return lines;
}

std::uint64_t Mesg::rawValue(FieldNum number, std::uint64_t missing) const
{
    const FieldValue *value = field(number);
    if (!value || value->elementCount() == 0)
        return missing;
    std::uint64_t raw = 0;
    const std::vector<std::uint8_t> &bytes = value->element(0);
    for (std::size_t i = 0; i < bytes.size() && i < sizeof raw; ++i)
        raw |= static_cast<std::uint64_t>(bytes[i]) << (8 * i);
    return raw;
}

const ProfileTable::Field *Mesg::profileField(FieldNum number) const
{
    const ProfileTable::Field *entry = m_profile->field(number);
    // A value meant for the file would be dropped; the warning lets tests fail on it.
    if (!entry)
        qWarning("FIT message %s has no field %u", m_profile->name, unsigned(number));
    return entry;
}

bool Mesg::setFieldBytes(FieldNum number, std::size_t index, const ValueBytes &bytes)
{
    // Every sample of a ride sets its fields again; with nothing left out this costs one test.
    if (!m_leftOut.empty())
        forgetLeftOut(number, index);
    for (FieldValue &value : m_fields) {
        if (value.number() == number)
            return value.setElement(index, bytes.data.data(), bytes.size);
    }
    const ProfileTable::Field *entry = profileField(number);
    if (!entry)
        return false;
    FieldValue value(*entry);
    if (!value.setElement(index, bytes.data.data(), bytes.size))
        return false;
    m_fields.push_back(std::move(value));
    return true;
}

} // namespace fit
