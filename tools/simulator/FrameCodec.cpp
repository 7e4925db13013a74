// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/simulator/FrameCodec.h"

#include "linkhub/TunedockCommand.h"

QByteArray FrameCodec::encode(quint8 code, const QByteArray &payload)
{
    const QByteArray carried = payload.left(MaxAnswerPayload);
    QByteArray body;
    body.append(char(code));
    body.append(char(carried.size()));
    body.append(carried);
    QByteArray frame("\xFF\x55", 2);
    frame.append(body);
    frame.append(char(checksum(body)));
    return frame;
}

quint8 FrameCodec::checksum(const QByteArray &bytes)
{
    quint8 sum = 0;
    for (char byte : bytes)
        sum = quint8(sum + quint8(byte));
    return sum;
}

std::optional<RequestFrame> FrameCodec::push(quint8 byte)
{
    switch (stage) {
    case Stage::Start:
        if (byte == 0xFF)
            stage = Stage::Sync;
        break;
    case Stage::Sync:
        if (byte == 0x55)
            stage = Stage::Code;
        else if (byte != 0xFF)
            stage = Stage::Start;
        break;
    case Stage::Code:
        frame = RequestFrame();
        frame.code = byte;
        stage = Stage::LengthLow;
        break;
    case Stage::LengthLow:
        length = byte;
        if (frame.code == FirmwareBlock)
            stage = Stage::LengthHigh;
        else
            stage = length > 0 ? Stage::Payload : Stage::Checksum;
        break;
    case Stage::LengthHigh:
        length |= int(byte) << 8;
        stage = length > 0 ? Stage::Payload : Stage::Checksum;
        break;
    case Stage::Payload:
        frame.payload.append(char(byte));
        if (frame.payload.size() == length)
            stage = Stage::Checksum;
        break;
    case Stage::Checksum: {
        QByteArray covered;
        covered.append(char(frame.code));
        covered.append(char(length & 0xFF));
        if (frame.code == FirmwareBlock)
            covered.append(char(length >> 8));
        covered.append(frame.payload);
        frame.checksumOk = checksum(covered) == byte;
        stage = Stage::Start;
        return std::move(frame);
    }
    }
    return std::nullopt;
}

void FrameCodec::reset()
{
    stage = Stage::Start;
    frame = RequestFrame();
    length = 0;
}
