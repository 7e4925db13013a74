// SPDX-License-Identifier: GPL-3.0-or-later
#include "outpost/fit/FieldValue.h"

#include "outpost/fit/BaseType.h"

#include <algorithm>

namespace fit {

FieldValue::FieldValue(const ProfileTable::Field &profile) : m_profile(&profile) {}

bool FieldValue::setElement(std::size_t index, std::vector<std::uint8_t> bytes)
{
    // Every element takes at least one byte, so this also bounds the gap filling below.
    if (index >= MaxSize || bytes.empty())
        return false;

    std::vector<std::uint8_t> gapFiller;
    if (const BaseType *type = BaseType::fromCode(m_profile->baseType))
        gapFiller.assign(type->invalid.begin(), type->invalid.begin() + type->size);
    else
        gapFiller.assign(1, 0xFF);

    std::size_t newSize = 0;
    const std::size_t count = std::max(m_elements.size(), index + 1);
    for (std::size_t i = 0; i < count; ++i) {
        if (i == index)
            newSize += bytes.size();
        else if (i < m_elements.size())
            newSize += m_elements[i].size();
        else
            newSize += gapFiller.size();
        if (newSize > MaxSize)
            return false;
    }

    while (m_elements.size() < index)
        m_elements.push_back(gapFiller);
    if (index < m_elements.size())
        m_elements[index] = std::move(bytes);
    else
        m_elements.push_back(std::move(bytes));
    return true;
}

bool FieldValue::setElement(std::size_t index, const std::uint8_t *data, std::size_t size)
{
    // Setting an element again at its own size, as every sample of a ride does, cannot outgrow
    // the field.
    if (index < m_elements.size() && size > 0 && m_elements[index].size() == size) {
        std::copy(data, data + size, m_elements[index].begin());
        return true;
    }
    return setElement(index, std::vector<std::uint8_t>(data, data + size));
}

std::vector<std::uint8_t> FieldValue::bytes() const
{
    std::vector<std::uint8_t> all;
    for (const auto &element : m_elements)
        all.insert(all.end(), element.begin(), element.end());
    return all;
}

std::size_t FieldValue::size() const
{
    std::size_t total = 0;
    for (const auto &element : m_elements)
        total += element.size();
    return total;
}

} // namespace fit
