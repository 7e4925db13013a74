// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <iosfwd>

class RawRecordReader;

/// The FIT activity file of a raw ride record: file identity, activity, session and lap with the
/// ride's totals, then one `record` message per data sample. Internal to the export library.
class RawRecordFit
{
public:
    /// Writes the file to an empty readable, writable and seekable stream. 0 when it was completed
    /// with its CRC; -1 when it could not be, or, with nothing written, when the record is not valid.
    static int write(std::iostream &stream, const RawRecordReader &reader);
};
