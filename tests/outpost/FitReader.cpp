// SPDX-License-Identifier: GPL-3.0-or-later
#include "FitReader.h"

#include <QMap>

namespace {

quint64 littleEndian(const QByteArray &bytes, qsizetype from, qsizetype size)
{
    quint64 value = 0;
    for (qsizetype i = 0; i < size && i < 8; ++i)
        value |= quint64(quint8(bytes.at(from + i))) << (8 * i);
    return value;
}

} // namespace

quint64 FitField::raw() const
{
    return littleEndian(bytes, 0, bytes.size());
}

qint64 FitField::signedRaw() const
{
    const quint64 value = raw();
    const int bits = int(qMin<qsizetype>(bytes.size(), 8)) * 8;
    if (bits == 0 || bits == 64)
        return qint64(value);
    const quint64 sign = quint64(1) << (bits - 1);
    return qint64((value ^ sign) - sign);
}

const FitField *FitMessage::field(quint8 number) const
{
    for (const FitField &f : fields) {
        if (f.number == number)
            return &f;
    }
    return nullptr;
}

QList<quint8> FitMessage::fieldNumbers() const
{
    QList<quint8> numbers;
    for (const FitField &f : fields)
        numbers << f.number;
    return numbers;
}

QList<FitMessage> FitFile::messagesOf(quint16 globalNumber) const
{
    QList<FitMessage> found;
    for (const FitMessage &m : messages) {
        if (m.globalNumber == globalNumber)
            found << m;
    }
    return found;
}

quint16 FitReader::crc(const QByteArray &bytes)
{
    quint16 crc = 0;
    for (const char c : bytes) {
        crc ^= quint8(c);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? quint16((crc >> 1) ^ 0xA001) : quint16(crc >> 1);
    }
    return crc;
}

FitFile FitReader::read(const QByteArray &bytes)
{
    FitFile file;
    if (bytes.size() < 14) {
        file.error = QStringLiteral("shorter than a header");
        return file;
    }
    file.headerSize = quint8(bytes.at(0));
    file.protocolVersion = quint8(bytes.at(1));
    file.profileVersion = quint16(littleEndian(bytes, 2, 2));
    file.dataSize = quint32(littleEndian(bytes, 4, 4));
    file.signature = bytes.mid(8, 4);
    file.headerCrc = quint16(littleEndian(bytes, 12, 2));
    if (file.headerSize != 14) {
        file.error = QStringLiteral("header size %1").arg(file.headerSize);
        return file;
    }
    if (file.signature != ".FIT") {
        file.error = QStringLiteral("no .FIT signature");
        return file;
    }
    if (crc(bytes.left(12)) != file.headerCrc) {
        file.error = QStringLiteral("header CRC mismatch");
        return file;
    }
    const qsizetype end = 14 + qsizetype(file.dataSize);
    if (bytes.size() != end + 2) {
        file.error = QStringLiteral("length %1 does not match data size %2").arg(bytes.size()).arg(file.dataSize);
        return file;
    }
    file.fileCrc = quint16(littleEndian(bytes, end, 2));
    if (crc(bytes.left(end)) != file.fileCrc) {
        file.error = QStringLiteral("file CRC mismatch");
        return file;
    }

    QMap<quint8, FitDefinition> inForce;
    qsizetype pos = 14;
    while (pos < end) {
        const quint8 header = quint8(bytes.at(pos++));
        if (header & 0x80) {
            file.error = QStringLiteral("compressed time stamp header at %1").arg(pos - 1);
            return file;
        }
        const quint8 local = header & 0x0F;
        if (header & 0x40) {
            if (pos + 5 > end) {
                file.error = QStringLiteral("definition cut off at %1").arg(pos);
                return file;
            }
            if (bytes.at(pos + 1) != 0) {
                file.error = QStringLiteral("big-endian definition at %1").arg(pos);
                return file;
            }
            FitDefinition definition;
            definition.localNumber = local;
            definition.globalNumber = quint16(littleEndian(bytes, pos + 2, 2));
            const int count = quint8(bytes.at(pos + 4));
            pos += 5;
            if (pos + 3 * count > end) {
                file.error = QStringLiteral("field definitions cut off at %1").arg(pos);
                return file;
            }
            for (int i = 0; i < count; ++i, pos += 3)
                definition.fields << FitFieldDefinition{quint8(bytes.at(pos)), quint8(bytes.at(pos + 1)),
                                                        quint8(bytes.at(pos + 2))};
            inForce.insert(local, definition);
            file.definitions << definition;
            file.sequence += QLatin1Char('D');
        } else {
            if (!inForce.contains(local)) {
                file.error = QStringLiteral("data message without definition at %1").arg(pos - 1);
                return file;
            }
            const FitDefinition &definition = inForce[local];
            FitMessage message;
            message.localNumber = local;
            message.globalNumber = definition.globalNumber;
            for (const FitFieldDefinition &d : definition.fields) {
                if (pos + d.size > end) {
                    file.error = QStringLiteral("data message cut off at %1").arg(pos);
                    return file;
                }
                message.fields << FitField{d.number, d.baseType, bytes.mid(pos, d.size)};
                pos += d.size;
            }
            file.messages << message;
            file.sequence += QLatin1Char('M');
        }
    }
    return file;
}
