// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <streambuf>
#include <string>

/// A stream buffer that takes writes and seeks but never gives anything back on reading, like a
/// file whose bytes cannot be read again after writing.
class UnreadableStreamBuffer : public std::streambuf
{
public:
    std::string bytes;

protected:
    int_type overflow(int_type ch) override
    {
        if (traits_type::eq_int_type(ch, traits_type::eof()))
            return traits_type::not_eof(ch);
        if (m_position < bytes.size())
            bytes[m_position] = traits_type::to_char_type(ch);
        else
            bytes.push_back(traits_type::to_char_type(ch));
        ++m_position;
        return ch;
    }

    pos_type seekoff(off_type offset, std::ios_base::seekdir direction, std::ios_base::openmode which) override
    {
        if (!(which & std::ios_base::out))
            return pos_type(0);
        off_type base = 0;
        if (direction == std::ios_base::cur)
            base = off_type(m_position);
        else if (direction == std::ios_base::end)
            base = off_type(bytes.size());
        const off_type target = base + offset;
        if (target < 0 || target > off_type(bytes.size()))
            return pos_type(off_type(-1));
        m_position = std::size_t(target);
        return pos_type(target);
    }

    pos_type seekpos(pos_type position, std::ios_base::openmode which) override
    {
        return seekoff(off_type(position), std::ios_base::beg, which);
    }

    int_type underflow() override { return traits_type::eof(); }

private:
    std::size_t m_position = 0;
};
