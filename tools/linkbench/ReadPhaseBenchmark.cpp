// SPDX-License-Identifier: GPL-3.0-or-later
#include "ReadPhaseBenchmark.h"

#include "linkhub/ComConnection.h"
#include "tools/simulator/SimulatedBikeComputer.h"

#include <QElapsedTimer>
#include <QEventLoop>

namespace {
constexpr int FrameOverhead = 5; // FF 55 code length checksum
constexpr int BitsPerByte = 10; // start bit, 8 data bits, stop bit

std::chrono::microseconds wireTimeOf(int bytes, qint32 baud)
{
    return std::chrono::microseconds(qint64(bytes) * BitsPerByte * 1000000 / baud);
}

// Payload length of the answer the model sends for a request.
int answerPayloadSize(const DeviceModel &model, quint8 request)
{
    switch (request) {
    case ReadDeviceId:
    case ReadFirmwareVersion:
    case ReadModelOption:
        return 1;
    default:
        return model.answerSize(answerCodeFor(request));
    }
}
}

ReadPhaseBenchmark::Result ReadPhaseBenchmark::run(quint8 modelId)
{
    Result result;
    SimulatedBikeComputer device(modelId);
    if (!device.start()) {
        result.failure = device.errorString();
        return result;
    }
    const DeviceModel &model = *device.model();

    ComConnection connection;
    QEventLoop loop;
    int blocksLeft = int(model.requestCommands.size());
    QElapsedTimer clock;
    QObject::connect(&connection, &ComConnection::modelDataUpdate, &loop, [&](ModelData *data, int bits) {
        if (bits == FirmwareVersionUpdate && blocksLeft == int(model.requestCommands.size()) && data)
            connection.approveFw();
        else if (bits != IdentityUpdate && --blocksLeft == 0) {
            result.elapsed = std::chrono::microseconds(clock.nsecsElapsed() / 1000);
            result.completed = true;
            loop.quit();
        }
    });
    endOnFailure(connection, loop, result, RunTimeout);

    clock.start();
    connection.open(device.portName());
    loop.exec();
    connection.hardClose(NoError);
    if (!result.completed)
        return result;

    // Identification runs at 600 baud, everything after it at the model's speed.
    const int identificationBytes = 2 * FrameOverhead + answerPayloadSize(model, ReadDeviceId);
    int modelSpeedBytes = 2 * FrameOverhead + answerPayloadSize(model, ReadFirmwareVersion);
    for (int request : model.requestCommands)
        modelSpeedBytes += 2 * FrameOverhead + answerPayloadSize(model, quint8(request));
    result.bytesOnWire = identificationBytes + modelSpeedBytes;
    result.wireTime = wireTimeOf(identificationBytes, BAUD600) + wireTimeOf(modelSpeedBytes, model.baudRate);
    return result;
}
