// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkhub/DeviceModel.h"
#include "linkhub/linkhub_global.h"

#include <QByteArray>
#include <QList>

/// A firmware memory image as a model's boot loader takes it: the front part up to the model's
/// start offset stays on the device, the application part after it goes over in numbered blocks.
class LINKHUB_EXPORT FirmwareImage
{
public:
    /// Bytes an image must hold for the model: start offset plus every block.
    static int requiredSize(const DeviceModel &model);
    /// Whether the image holds every byte the model's transfer sends.
    static bool isComplete(const QByteArray &image, const DeviceModel &model);
    /// Payloads of the model's firmware blocks in sending order: the block index (one byte), then
    /// the block's bytes of the application part. Empty for an image that is not complete.
    static QList<QByteArray> blockPayloads(const QByteArray &image, const DeviceModel &model);
    /// The bytes that the transfer sends, in order (the application part).
    static QByteArray applicationPart(const QByteArray &image, const DeviceModel &model);
};
