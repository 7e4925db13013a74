// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "outpost/fit/MesgDefinitionListener.h"
#include "outpost/fit/MesgLayout.h"
#include "outpost/fit/MesgListener.h"
#include "outpost/outpost_global.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <iosfwd>

namespace fit {

class Mesg;

/// Writes a FIT file to a stream the caller owns: header at `open`, a definition message ahead of
/// every data message whose layout is not already announced, and header and CRC again at `close`.
/// The stream must be readable, writable and seekable, since the CRC is computed by reading the
/// written bytes back.
class OUTPOST_EXPORT Encode : public MesgListener, public MesgDefinitionListener
{
public:
    static constexpr std::uint8_t HeaderSize = 14;
    static constexpr std::uint8_t ProtocolVersion = 0x10;
    static constexpr std::uint16_t ProfileVersion = 800;
    /// The logging category of the warnings about values left out of a message: a program that
    /// hides diagnostics still lets these through, since they tell of a file written incomplete.
    static constexpr const char *LeftOutCategory = "outpost.fit";

    Encode();
    ~Encode() override;

    Encode(const Encode &) = delete;
    Encode &operator=(const Encode &) = delete;

    /// Starts a file at offset 0 of the stream with a header of data size 0.
    void open(std::iostream &stream);
    /// Writes a definition message when needed, then the data message, and warns with every line of
    /// Mesg::leftOutLines. Does nothing unless open.
    void write(const Mesg &mesg);
    /// Writes a definition message and uses it for the following data messages of its local number.
    void write(const MesgLayout &layout);
    /// Rewrites the header with the final data size and appends the file CRC. False when the
    /// encoder was not open or the stream could not be read back or written; the stream is
    /// released either way.
    bool close();

    void onMesg(const Mesg &mesg) override;
    void onMesgDefinition(const MesgLayout &layout) override;

    /// Bytes of definition and data messages written since `open`.
    std::uint32_t dataSize() const { return m_dataSize; }

private:
    void writeHeader();
    void writeHeaderTo(std::iostream &stream) const;
    void writeBytes(const std::uint8_t *data, std::size_t size);

    std::iostream *m_stream = nullptr;
    std::uint32_t m_dataSize = 0;
    std::array<MesgLayout, 16> m_layouts;
};

} // namespace fit
