// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "outpost/ParsedRecord.h"

#include <QByteArray>

#include <functional>

/// Reads a raw ride record of the device: the 64-byte header and the 15-byte blocks after it,
/// which are data samples or time marks. Every read is bounds-checked, so any bytes may be given.
/// Internal to the export library.
class RawRecordReader
{
public:
    /// Reads the header at once; the bytes must outlive the reader.
    explicit RawRecordReader(const QByteArray &bytes);

    /// The header's values, without samples; not valid when there is no whole header or its
    /// start is not a date and time.
    const ParsedRecord &header() const { return m_header; }

    /// Hands each data sample in order to `visit`. A time mark moves the running time stamp to its
    /// own date and time (one that names no date and time is passed over); a shorter tail is ignored.
    /// Returns the number of time marks met.
    int forEachSample(const std::function<void(const RecordSample &)> &visit) const;

    /// The whole record: header and every sample.
    ParsedRecord parse() const;

private:
    const QByteArray &m_bytes;
    ParsedRecord m_header;
};
