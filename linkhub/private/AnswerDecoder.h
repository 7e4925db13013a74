// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkhub/ModelData.h"

#include <QByteArray>

/// Decodes answer payloads into a record. Each decoder returns false, and leaves the record
/// as it was, when the payload is too short for its layout (the short answers of some models).
class AnswerDecoder
{
public:
    static bool altitude(ModelData &data, const QByteArray &payload);
    static bool currentBike(ModelData &data, const QByteArray &payload);
    static bool heartRate(ModelData &data, const QByteArray &payload);
    static bool dateTime(ModelData &data, const QByteArray &payload);
    /// One-bike or two-bike format by the record's model; bike is 0 or 1.
    static bool bikeSettings(ModelData &data, int bike, const QByteArray &payload);
    static bool bikeAux(ModelData &data, const QByteArray &payload);
    static bool firmwareVersion(ModelData &data, const QByteArray &payload);
    static bool modelOption(ModelData &data, const QByteArray &payload);

    static constexpr int AltitudeSize = 53;
    static constexpr int HeartRateSize = 23;
    static constexpr int DateTimeSize = 7;
    static constexpr int OneBikeSettingsSize = 8;
    static constexpr int TwoBikeSettingsSize = 25;

private:
    static bool oneBikeSettings(Bike &bike, ModelData &data, const QByteArray &payload);
    static bool twoBikeSettings(Bike &bike, ModelData &data, const QByteArray &payload);
};
