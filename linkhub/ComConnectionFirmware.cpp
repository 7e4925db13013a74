// SPDX-License-Identifier: GPL-3.0-or-later
// Loading a firmware image into the device's boot loader.
#include "linkhub/ComConnection.h"

#include "linkhub/FirmwareImage.h"
#include "linkhub/QextSerialPort.h"
#include "linkhub/private/AnswerDispatcher.h"

#include <QDebug>

bool ComConnection::sendFirmwareUpdate(const QByteArray &image, bool enterBootloader)
{
    const DeviceModel *model = dispatcher->model();
    if (!model) {
        qCritical() << "Firmware update refused: no device model identified or set";
        return false;
    }
    if (!FirmwareImage::isComplete(image, *model)) {
        qCritical() << "Firmware update refused: image of" << image.size() << "bytes, the" << model->name
                    << "needs" << FirmwareImage::requiredSize(*model);
        return false;
    }
    stopTimer();
    {
        std::lock_guard<std::recursive_mutex> guard(portLock);
        serialPort->setBaudRate(FirmwareBaudRate);
    }
    if (enterBootloader)
        sendCommand(EnterBootloader);
    dispatcher->restartFirmwareCount();
    for (const QByteArray &payload : FirmwareImage::blockPayloads(image, *model))
        sendCommand(FirmwareBlock, &payload);
    return true;
}
