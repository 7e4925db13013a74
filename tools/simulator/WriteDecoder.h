// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkhub/ModelData.h"

#include <QByteArray>

/// The device's reading of the write requests: stores a written block into the values the
/// device holds, so that the next read returns it. Written apart from the link's own code, so
/// that tests compare two independent readings of the layouts.
class WriteDecoder
{
public:
    explicit WriteDecoder(const DeviceModel *model) : model(model) {}

    /// Whether the request code is one of the writes.
    static bool isWrite(quint8 requestCode);
    /// Stores the payload of a write into the values; false, changing nothing, for a payload
    /// whose length the model does not take.
    bool apply(quint8 requestCode, const QByteArray &payload, ModelData &values) const;

private:
    bool bikeSettings(const QByteArray &payload, Bike &bike, ModelData &values) const;

    const DeviceModel *model;
};
