// SPDX-License-Identifier: GPL-3.0-or-later
#include "outpost/fit/Encode.h"

#include "outpost/fit/BaseType.h"
#include "outpost/fit/Crc.h"
#include "outpost/fit/Mesg.h"

#include <QLoggingCategory>

#include <algorithm>
#include <array>
#include <iostream>
#include <vector>

namespace fit {

namespace {

Q_LOGGING_CATEGORY(leftOutCategory, Encode::LeftOutCategory)

constexpr std::uint8_t LocalNumberMask = 0x0F;

void appendLittleEndian(std::vector<std::uint8_t> &bytes, std::uint32_t value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes.push_back(static_cast<std::uint8_t>(value >> (8 * i)));
}

// The data message of `mesg` against `layout`, or an empty buffer when the layout names a base
// type that cannot be padded. It is built whole before anything reaches the stream, so a message
// that cannot be written leaves no stray bytes behind.
std::vector<std::uint8_t> dataMessage(const Mesg &mesg, const MesgLayout &layout)
{
    std::vector<std::uint8_t> bytes;
    bytes.push_back(layout.localNumber() & LocalNumberMask);
    for (const FieldLayout &entry : layout.fields()) {
        std::size_t written = 0;
        if (const FieldValue *value = mesg.field(entry.number)) {
            for (std::size_t e = 0; e < value->elementCount() && written < entry.size; ++e) {
                const std::vector<std::uint8_t> &element = value->element(e);
                const std::size_t taken = std::min<std::size_t>(element.size(), entry.size - written);
                bytes.insert(bytes.end(), element.begin(), element.begin() + static_cast<std::ptrdiff_t>(taken));
                written += taken;
            }
        }
        if (written < entry.size) {
            const BaseType *type = BaseType::fromCode(entry.baseType);
            if (!type)
                return {};
            for (std::size_t i = written; i < entry.size; ++i)
                bytes.push_back(type->invalid[i % type->size]);
        }
    }
    return bytes;
}

} // namespace

Encode::Encode() = default;
Encode::~Encode() = default;

void Encode::open(std::iostream &stream)
{
    m_stream = &stream;
    m_dataSize = 0;
    m_layouts.fill(MesgLayout());
    writeHeader();
}

void Encode::write(const Mesg &mesg)
{
    if (!m_stream)
        return;
    const MesgLayout wanted = MesgLayout::of(mesg);
    const std::uint8_t local = wanted.localNumber() & LocalNumberMask;
    if (!m_layouts[local].serves(wanted))
        write(wanted);

    const std::vector<std::uint8_t> bytes = dataMessage(mesg, m_layouts[local]);
    writeBytes(bytes.data(), bytes.size());
    // The file goes out without these values rather than with wrong ones; the one writing it is told.
    if (!mesg.leftOut().empty()) {
        for (const std::string &line : mesg.leftOutLines())
            qCWarning(leftOutCategory, "%s", line.c_str());
    }
}

void Encode::write(const MesgLayout &layout)
{
    if (!m_stream)
        return;
    const std::vector<std::uint8_t> bytes = layout.definitionBytes();
    writeBytes(bytes.data(), bytes.size());
    m_layouts[layout.localNumber() & LocalNumberMask] = layout;
}

bool Encode::close()
{
    if (!m_stream)
        return false;
    std::iostream &stream = *m_stream;
    m_stream = nullptr;

    stream.seekp(0);
    writeHeaderTo(stream);

    stream.seekg(0);
    std::uint16_t crc = 0;
    std::uint64_t remaining = std::uint64_t(m_dataSize) + HeaderSize;
    // Read back in chunks: a day of samples makes a file of megabytes.
    std::array<char, 64 * 1024> chunk;
    while (remaining > 0) {
        const auto wanted = static_cast<std::streamsize>(std::min<std::uint64_t>(remaining, chunk.size()));
        stream.read(chunk.data(), wanted);
        if (stream.gcount() != wanted)
            return false;
        crc = Crc::calc16(chunk.data(), std::size_t(wanted), crc);
        remaining -= std::uint64_t(wanted);
    }

    stream.seekp(0, std::ios::end);
    stream.put(static_cast<char>(crc & 0xFF));
    stream.put(static_cast<char>(crc >> 8));
    stream.flush();
    return !stream.fail();
}

void Encode::onMesg(const Mesg &mesg)
{
    write(mesg);
}

void Encode::onMesgDefinition(const MesgLayout &layout)
{
    write(layout);
}

void Encode::writeHeader()
{
    m_stream->seekp(0);
    writeHeaderTo(*m_stream);
}

void Encode::writeHeaderTo(std::iostream &stream) const
{
    std::vector<std::uint8_t> header;
    header.reserve(HeaderSize);
    header.push_back(HeaderSize);
    header.push_back(ProtocolVersion);
    appendLittleEndian(header, ProfileVersion, 2);
    appendLittleEndian(header, m_dataSize, 4);
    for (char c : {'.', 'F', 'I', 'T'})
        header.push_back(static_cast<std::uint8_t>(c));
    appendLittleEndian(header, Crc::calc16(header.data(), header.size()), 2);
    stream.write(reinterpret_cast<const char *>(header.data()), static_cast<std::streamsize>(header.size()));
}

void Encode::writeBytes(const std::uint8_t *data, std::size_t size)
{
    if (size == 0)
        return;
    m_stream->write(reinterpret_cast<const char *>(data), static_cast<std::streamsize>(size));
    m_dataSize += static_cast<std::uint32_t>(size);
}

} // namespace fit
