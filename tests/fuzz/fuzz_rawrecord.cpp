// SPDX-License-Identifier: GPL-3.0-or-later
// A raw ride record of the device, any bytes: decoded, then written as a FIT file in memory.
#include "FuzzApplication.h"

#include "outpost/Outposter.h"

#include <QByteArray>

#include <cstddef>
#include <cstdint>
#include <sstream>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    ensureFuzzApplication();
    const QByteArray record(reinterpret_cast<const char *>(data), qsizetype(size));
    Outposter::parseRecord(record);
    std::stringstream fit(std::ios::in | std::ios::out | std::ios::binary);
    Outposter::exportToStream(fit, record);
    return 0;
}
