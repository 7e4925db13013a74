// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>

/// Builds device frames by hand for tests: FF 55 code length payload checksum.
namespace Frames {

inline QByteArray frame(unsigned char code, const QByteArray &payload = QByteArray())
{
    QByteArray bytes("\xFF\x55", 2);
    bytes.append(char(code));
    bytes.append(char(payload.size()));
    bytes.append(payload);
    unsigned char sum = 0;
    for (int i = 2; i < bytes.size(); ++i)
        sum += static_cast<unsigned char>(bytes.at(i));
    bytes.append(char(sum));
    return bytes;
}

/// A payload of n bytes counting up from first.
inline QByteArray counting(int n, unsigned char first = 1)
{
    QByteArray bytes;
    for (int i = 0; i < n; ++i)
        bytes.append(char(first + i));
    return bytes;
}

}
