// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkhub/TunedockCommand.h"

#include <QByteArray>

#include <functional>

/// Cuts the device's byte stream back into packets (FF 55 code length payload checksum)
/// and hands every packet whose checksum is right to its sink.
/// Not thread-safe: one thread drives a receiver.
class PacketReceiver
{
public:
    using Sink = std::function<void(TunedockCommand, QByteArray &)>;
    /// Told of a whole packet whose checksum was wrong: its code, payload and checksum byte.
    using RejectSink = std::function<void(unsigned char, const QByteArray &, unsigned char)>;

    explicit PacketReceiver(Sink sink, RejectSink rejected = {})
        : sink(std::move(sink)), rejected(std::move(rejected)) {}

    void handleByte(unsigned char byte);
    /// Forgets a partly received packet.
    void reset();

private:
    enum State { WaitStart = 0, WaitSync = 1, InPacket = 2 };

    void takePacketByte(unsigned char byte);
    void finishPacket(unsigned char checksum);

    Sink sink;
    RejectSink rejected;
    State state = WaitStart;
    int byteCounter = 0;
    int expectedLength = 0;
    unsigned char commandByte = 0;
    QByteArray payload;
};
