// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QtEndian>

/// Raw ride records byte by byte, as the device lays them out, for tests of their export.
namespace RawRecordBytes {

inline void putDateTime(QByteArray &bytes, int at, const QDateTime &dateTime)
{
    const QDate d = dateTime.date();
    const QTime t = dateTime.time();
    const int parts[] = {t.second(), t.minute(), t.hour(), d.day(), d.month(), d.year() - 2000};
    for (int i = 0; i < 6; ++i)
        bytes[at + i] = char(parts[i]);
}

inline void put16(QByteArray &bytes, int at, quint16 value)
{
    qToLittleEndian(value, bytes.data() + at);
}

inline void put32(QByteArray &bytes, int at, quint32 value)
{
    qToLittleEndian(value, bytes.data() + at);
}

/// A header whose every value differs, starting at `start` with samples `interval` seconds apart.
inline QByteArray header(const QDateTime &start, qint8 interval)
{
    QByteArray bytes(64, '\0');
    putDateTime(bytes, 0, start);
    bytes[6] = char(-3); // maximum temperature
    bytes[7] = char(0x11);
    bytes[8] = char(141); // heart rate average and maximum
    bytes[9] = char(187);
    bytes[10] = 5, bytes[11] = 4, bytes[12] = 1; // 01:04:05
    bytes[13] = 30, bytes[14] = 45, bytes[15] = 0; // zone time 00:45:30
    bytes[16] = 0, bytes[17] = 0, bytes[18] = 2; // 02:00:00
    put16(bytes, 19, 523); // maximum speed, 0.1 km/h
    put16(bytes, 21, 255); // average speed
    put32(bytes, 24, 12345678); // distance, mm
    bytes[28] = 3, bytes[29] = 2;
    put16(bytes, 30, 1); // 1 h 2 min 3 s
    put32(bytes, 32, 70000); // gain, 24 bits (the 4th byte is overwritten next)
    put32(bytes, 35, 850); // loss
    put16(bytes, 38, 1234); // maximum altitude
    const quint16 climbing[] = {4, 12, 6, 15, 1800, 3600, 900, 5400, 180, 640};
    for (int i = 0; i < 10; ++i)
        put16(bytes, 40 + 2 * i, climbing[i]);
    bytes[60] = char(85);
    bytes[61] = char(120);
    bytes[62] = char(interval);
    return bytes;
}

inline QByteArray sample(quint8 balance, quint16 speed = 300, quint32 distance = 1500)
{
    QByteArray bytes(15, '\0');
    put16(bytes, 0, speed);
    bytes[2] = char(150); // heart rate
    bytes[3] = char(90); // cadence
    put32(bytes, 4, distance);
    put16(bytes, 8, 250); // power
    put16(bytes, 10, 420); // altitude
    bytes[12] = char(-2); // temperature
    bytes[13] = char(balance);
    bytes[14] = char(0x01);
    return bytes;
}

inline QByteArray timeMark(const QDateTime &at)
{
    QByteArray bytes(15, '\0');
    putDateTime(bytes, 0, at);
    bytes[14] = char(0x21);
    return bytes;
}

} // namespace RawRecordBytes
