// SPDX-License-Identifier: GPL-3.0-or-later
#include "DayRecord.h"

#include <QtEndian>

namespace {

constexpr int HeaderSize = 64;
constexpr int BlockSize = 15;
constexpr int SecondsPerHour = 3600;

void putStart(char *block, int hour)
{
    const char start[] = {0, 0, char(hour), 16, 3, 24}; // 2024-03-16, hh:00:00
    std::copy(std::begin(start), std::end(start), block);
}

} // namespace

QByteArray DayRecord::make()
{
    const int marks = Samples / SecondsPerHour - 1;
    QByteArray bytes(HeaderSize + (Samples + marks) * BlockSize, '\0');
    char *header = bytes.data();
    putStart(header, 0);
    header[62] = 1; // one sample a second
    char *block = header + HeaderSize;
    quint32 distance = 0;
    for (int second = 0; second < Samples; ++second) {
        if (second > 0 && second % SecondsPerHour == 0) {
            putStart(block, second / SecondsPerHour);
            block[14] = 0x20;
            block += BlockSize;
        }
        const quint16 speed = quint16(200 + second % 150);
        distance += speed * 100 / 36;
        qToLittleEndian(speed, block);
        block[2] = char(120 + second % 50);
        block[3] = char(80 + second % 20);
        qToLittleEndian(distance, block + 4);
        qToLittleEndian(quint16(150 + second % 200), block + 8);
        qToLittleEndian(quint16(300 + second % 400), block + 10);
        block[12] = char(10 + second % 5);
        block[13] = char(second % 97 < 10 ? 255 : 45 + second % 10);
        block[14] = 0x01;
        block += BlockSize;
    }
    return bytes;
}
