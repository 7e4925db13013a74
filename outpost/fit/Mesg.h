// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "outpost/fit/FieldValue.h"
#include "outpost/fit/ProfileTable.h"
#include "outpost/outpost_global.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace fit {

struct ValueBytes;

/// A FIT message in memory: a profile message type, a local message number and the fields set
/// so far, in the order in which they were first set (which is their order in the file).
class OUTPOST_EXPORT Mesg
{
public:
    static constexpr std::uint8_t MaxLocalNumber = 15;

    /// A message of the Profile entry at `profileIndex`; throws RuntimeException for an index
    /// the profile table does not carry.
    explicit Mesg(int profileIndex);
    virtual ~Mesg();

    Mesg(const Mesg &) = default;
    Mesg &operator=(const Mesg &) = default;

    const ProfileTable::Message &profile() const { return *m_profile; }
    const char *name() const { return m_profile->name; }
    std::uint16_t globalNumber() const { return m_profile->globalNumber; }

    std::uint8_t localNumber() const { return m_localNumber; }
    /// Values above 15 are ignored.
    void setLocalNumber(std::uint8_t localNumber);

    const std::vector<FieldValue> &fields() const { return m_fields; }
    /// The field with that number, or nullptr when it has not been set.
    const FieldValue *field(FieldNum number) const;

    // Integer setters: each stores the value in its own width, low bytes kept. They return false,
    // change nothing and warn "FIT message NAME has no field N" for a field number the message
    // type does not have.
    bool setFieldEnum(FieldNum number, std::uint8_t value, std::size_t index = 0);
    bool setFieldSInt8(FieldNum number, std::int8_t value, std::size_t index = 0);
    bool setFieldUInt8(FieldNum number, std::uint8_t value, std::size_t index = 0);
    bool setFieldUInt16(FieldNum number, std::uint16_t value, std::size_t index = 0);
    bool setFieldUInt32(FieldNum number, std::uint32_t value, std::size_t index = 0);

    /// Stores (value + offset) × scale of the field, rounded half away from zero, in the field's
    /// base type; float fields keep the scaled value unrounded. An integer field given an infinite
    /// or not-a-number value gets the base type's invalid value. A value the base type cannot hold
    /// is never wrapped: the field gets its invalid value and the value is noted as left out.
    bool setFieldReal(FieldNum number, float value, std::size_t index = 0);
    /// The same for a whole number in the field's units, without the rounding of a float on the way.
    bool setFieldInteger(FieldNum number, std::int64_t value, std::size_t index = 0);

    /// A value given for a field that its base type cannot hold.
    struct LeftOut
    {
        FieldNum number;
        std::size_t index;
        double value; ///< as given, in the field's units
    };
    /// The values left out of the fields as they stand now (set again in range, a field is no longer listed).
    const std::vector<LeftOut> &leftOut() const { return m_leftOut; }
    /// One diagnostic line per value left out, e.g. "FIT field session.max_speed cannot hold 69.4444 m/s (left out)".
    std::vector<std::string> leftOutLines() const;

protected:
    /// The first element of a field as an unsigned little-endian number, or `missing`.
    std::uint64_t rawValue(FieldNum number, std::uint64_t missing) const;

private:
    /// The profile entry of a field, or nullptr after warning that the message has no such field.
    const ProfileTable::Field *profileField(FieldNum number) const;
    bool setFieldBytes(FieldNum number, std::size_t index, const ValueBytes &bytes);
    /// Stores a scaled, rounded value in an integer field, or the invalid value when it does not fit.
    bool setFieldScaled(const ProfileTable::Field &entry, std::size_t index, double given, double scaled);
    void forgetLeftOut(FieldNum number, std::size_t index);

    const ProfileTable::Message *m_profile;
    std::uint8_t m_localNumber = 0;
    std::vector<FieldValue> m_fields;
    std::vector<LeftOut> m_leftOut;
};

} // namespace fit
