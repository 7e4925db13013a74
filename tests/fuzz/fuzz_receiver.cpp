// SPDX-License-Identifier: GPL-3.0-or-later
// The device's byte stream through the per-byte entry the poll thread uses: the receiver cuts
// packets and the dispatcher checks and decodes them into the record.
// The first byte chooses the situation: 0 (mod 8) is a link that no model has identified yet,
// 1..7 a link identified as the catalogue model of that rank, so each model's answer lengths
// and layouts are reached. The remaining bytes are what the device sends.
// One connection serves every input (making one per input costs two threads); each input starts
// from the same receiver state, model and fresh record: a second reading of the frame follows
// the bytes and ends a packet left open with just the bytes it still takes.
#include "FuzzApplication.h"

#include "linkhub/ComConnection.h"

#include <cstddef>
#include <cstdint>

namespace {

/// Where the frame of FF 55 code length payload checksum stands after the bytes seen so far.
class FramePosition
{
public:
    void push(unsigned char byte)
    {
        if (stage == Start) {
            stage = byte == 0xFF ? Sync : Start;
        } else if (stage == Sync) {
            if (byte == 0x55) {
                stage = Packet;
                counter = 0;
            }
        } else if (++counter == 2) {
            length = byte;
        } else if (counter > 2 && counter > length + 2) {
            stage = Start;
        }
    }

    /// Bytes that end an open frame and leave the receiver waiting for a start byte.
    QByteArray closing() const
    {
        switch (stage) {
        case Start: return QByteArray();
        case Sync: return QByteArray("\x55\x00\x00\x00", 4);
        case Packet: break;
        }
        return QByteArray(counter < 2 ? 3 - counter : length + 3 - counter, char(0));
    }

private:
    enum Stage { Start, Sync, Packet };
    Stage stage = Start;
    int counter = 0;
    int length = 0;
};

void feed(ComConnection &connection, FramePosition &position, const QByteArray &bytes)
{
    for (char byte : bytes) {
        connection.handleByte(static_cast<unsigned char>(byte));
        position.push(static_cast<unsigned char>(byte));
    }
}

QByteArray identification(unsigned char modelId)
{
    const unsigned char checksum = static_cast<unsigned char>(0x92 + 0x01 + modelId);
    return QByteArray("\xFF\x55\x92\x01", 4) + char(modelId) + char(checksum);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    ensureFuzzApplication();
    if (size == 0)
        return 0;
    static ComConnection connection;
    static FramePosition position;
    feed(connection, position, position.closing());
    connection.setDeviceModel(nullptr);
    const auto &catalogue = connection.getCatalogue();
    const int rank = data[0] % (catalogue.size() + 1);
    if (rank > 0)
        feed(connection, position, identification(std::next(catalogue.begin(), rank - 1).key()));
    feed(connection, position, QByteArray::fromRawData(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1)));
    // Records replaced by an identification are freed through the event queue.
    QCoreApplication::sendPostedEvents();
    return 0;
}
