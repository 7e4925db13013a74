// SPDX-License-Identifier: GPL-3.0-or-later
#include "linkhub/private/PacketReceiver.h"

#include "linkhub/ComConnection.h"

#include <QDebug>

namespace {
constexpr unsigned char StartByte = 0xFF;
constexpr unsigned char SyncByte = 0x55;
}

void PacketReceiver::handleByte(unsigned char byte)
{
    switch (state) {
    case WaitStart:
        if (byte == StartByte)
            state = WaitSync;
        else
            qCritical() << "Wrong start byte.";
        break;
    case WaitSync:
        if (byte == SyncByte) {
            payload.clear();
            expectedLength = 0xFFFF;
            byteCounter = 0;
            state = InPacket;
        } else {
            qCritical() << "Connection error: Data while no package.";
        }
        break;
    case InPacket:
        takePacketByte(byte);
        break;
    }
}

void PacketReceiver::reset()
{
    state = WaitStart;
    byteCounter = 0;
    expectedLength = 0;
    commandByte = 0;
    payload.clear();
}

void PacketReceiver::takePacketByte(unsigned char byte)
{
    ++byteCounter;
    if (byteCounter == 1)
        commandByte = byte;
    else if (byteCounter == 2)
        expectedLength = byte;
    else if (byteCounter <= expectedLength + 2)
        payload.append(char(byte));
    else
        finishPacket(byte);
}

void PacketReceiver::finishPacket(unsigned char checksum)
{
    state = WaitStart;
    const unsigned char expected =
        static_cast<unsigned char>(expectedLength + commandByte + ComConnection::calculateChecksum(payload));
    if (expected != checksum) {
        qCritical() << "ConnectionError: Wrong checksum. " << QString::number(commandByte, 16);
        if (rejected)
            rejected(commandByte, payload, checksum);
        return;
    }
    sink(static_cast<TunedockCommand>(commandByte), payload);
}
