// SPDX-License-Identifier: GPL-3.0-or-later
#include "linkhub/FirmwareImage.h"

int FirmwareImage::requiredSize(const DeviceModel &model)
{
    return model.fwStartOffset + model.fwBlockCount * model.fwBlockSize;
}

bool FirmwareImage::isComplete(const QByteArray &image, const DeviceModel &model)
{
    return image.size() >= requiredSize(model);
}

QByteArray FirmwareImage::applicationPart(const QByteArray &image, const DeviceModel &model)
{
    if (!isComplete(image, model))
        return QByteArray();
    return image.mid(model.fwStartOffset, model.fwBlockCount * model.fwBlockSize);
}

QList<QByteArray> FirmwareImage::blockPayloads(const QByteArray &image, const DeviceModel &model)
{
    const QByteArray application = applicationPart(image, model);
    QList<QByteArray> payloads;
    if (application.isEmpty())
        return payloads;
    for (int index = 0; index < model.fwBlockCount; ++index) {
        QByteArray payload(1, char(index & 0xFF)); // the index is one byte on the wire
        payload.append(application.mid(index * model.fwBlockSize, model.fwBlockSize));
        payloads.append(payload);
    }
    return payloads;
}
