// SPDX-License-Identifier: GPL-3.0-or-later
#include "FirmwareTransferBenchmark.h"

#include "linkhub/ComConnection.h"
#include "tools/simulator/SimulatedBikeComputer.h"

#include <QElapsedTimer>
#include <QEventLoop>

namespace {
constexpr int FrameOverhead = 5; // FF 55 code length checksum
constexpr int BlockFrameOverhead = 6; // the block's length takes two bytes
constexpr int ImageSize = 0x10000;
}

FirmwareTransferBenchmark::Result FirmwareTransferBenchmark::run(quint8 modelId)
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
    QElapsedTimer clock;
    const QByteArray image(ImageSize, '\x5A');
    QObject::connect(&connection, &ComConnection::modelDataUpdate, &loop, [&](ModelData *, int bits) {
        if (bits != IdentityUpdate || clock.isValid())
            return;
        clock.start();
        if (!connection.sendFirmwareUpdate(image, true)) {
            result.failure = QStringLiteral("the link refused the image");
            loop.quit();
        }
    });
    QObject::connect(&connection, &ComConnection::fwUpdateComplete, &loop, [&] {
        result.elapsed = std::chrono::microseconds(clock.nsecsElapsed() / 1000);
        result.completed = true;
        loop.quit();
    });
    endOnFailure(connection, loop, result, RunTimeout);

    connection.open(device.portName());
    loop.exec();
    connection.hardClose(NoError);
    if (!result.completed)
        return result;

    // The boot loader command and its answer, then each block and its acknowledgement.
    result.bytesOnWire = 2 * FrameOverhead
        + model.fwBlockCount * (BlockFrameOverhead + 1 + model.fwBlockSize + FrameOverhead);
    result.wireTime = ComConnection::wireTime(result.bytesOnWire, ComConnection::FirmwareBaudRate)
        + 2 * ComConnection::BootloaderPause;
    return result;
}
