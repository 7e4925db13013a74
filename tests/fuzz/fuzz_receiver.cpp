// The device's byte stream through the per-byte entry the poll thread uses: the receiver cuts
// packets and the dispatcher checks and decodes them into the record.
// The first byte chooses the situation: 0 (mod 8) is a link that no model has identified yet,
// 1..7 a link identified as the catalogue model of that rank, so each model's answer lengths
// and layouts are reached. The remaining bytes are what the device sends.
// One connection serves every input (making one per input costs two threads); each input starts
// from the same receiver state, model and fresh record.
#include "FuzzApplication.h"

#include "linkhub/ComConnection.h"

#include <cstddef>
#include <cstdint>

namespace {

void feed(ComConnection &connection, const QByteArray &bytes)
{
    for (char byte : bytes)
        connection.handleByte(static_cast<unsigned char>(byte));
}

// Ends whatever packet the previous input left open (a sync byte, then more zero bytes than the
// longest packet) and leaves the receiver waiting for a start byte.
const QByteArray receiverReset = QByteArray(1, char(0x55)) + QByteArray(258, char(0));

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
    feed(connection, receiverReset);
    connection.setDeviceModel(nullptr);
    const auto &catalogue = connection.getCatalogue();
    const int rank = data[0] % (catalogue.size() + 1);
    if (rank > 0)
        feed(connection, identification(std::next(catalogue.begin(), rank - 1).key()));
    feed(connection, QByteArray::fromRawData(reinterpret_cast<const char *>(data + 1), qsizetype(size - 1)));
    // Records replaced by an identification are freed through the event queue.
    QCoreApplication::sendPostedEvents();
    return 0;
}
