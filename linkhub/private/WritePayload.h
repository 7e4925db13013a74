// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkhub/ModelData.h"
#include "linkhub/TunedockCommand.h"

#include <QByteArray>

#include <optional>

/// Builds the payloads that write one block of a record back to the device.
///
/// `session` is the model the link identified (the one that speaks the protocol), `current` the
/// record the link holds; both shape the payloads where the device's formats differ.
class WritePayload
{
public:
    struct Packet
    {
        TunedockCommand command;
        QByteArray payload;
    };

    /// The write command and payload for one block of `data`; nothing when `bits` names no
    /// writable block (a combination, or a block the device only reports).
    static std::optional<Packet> forBlock(const DeviceModel &session, const ModelData *current,
                                          const ModelData &data, int bits);

    /// One bike's settings and odometer, in the format of the current record's model.
    static QByteArray bikeSettings(const DeviceModel &session, const ModelData *current, const ModelData &data,
                                   const Bike &bike);

    static QByteArray altitude(const ModelData &data);
    static QByteArray currentBike(const ModelData &data);
    static QByteArray heartRate(const ModelData &data);
    static QByteArray dateTime(const DeviceModel &session, const ModelData &data);
    static QByteArray bikeAux(const ModelData &data);
    static QByteArray modelOption(const ModelData &data);
};
