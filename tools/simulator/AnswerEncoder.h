// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkhub/ModelData.h"

#include <QByteArray>

#include <optional>

/// Builds the answer payloads that one bike-computer model sends for read requests,
/// from the values it holds. Lengths follow the model's catalogue row.
///
/// The Lumo 70's catalogue row gives its altitude, heart-rate and bike-settings answers
/// 5, 8 and 16 bytes. It sends those blocks in the layout in which they are written to a
/// device (settings and odometers, no day values):
///   altitude (5):       altitudeParamA (2), altitudeParamB (2), flags A/B/C in bits 0-2;
///   heart rate (8):     heartRateParamA, heartRateParamWord (2), heartRateParamB..E, flags A/B in bits 0-1;
///   bike settings (16): dailyDistance (4), totalDistance (8), bikeParamWord (2), bikeParamByte,
///                       flags: bit 0 unitSystem, bit 1 bikeFlagA.
class AnswerEncoder
{
public:
    /// Payload lengths of the full layouts.
    static constexpr int AltitudeLength = 53;
    static constexpr int HeartRateLength = 23;
    static constexpr int TwoBikeSettingsLength = 25;
    static constexpr int ExtendedBikeSettingsLength = 26;
    /// Payload lengths of the short layouts (the Lumo 70's).
    static constexpr int ShortAltitudeLength = 5;
    static constexpr int ShortHeartRateLength = 8;
    static constexpr int ShortBikeSettingsLength = 16;

    explicit AnswerEncoder(const DeviceModel *model) : model(model) {}

    /// Whether the model answers this request at all.
    bool answers(quint8 requestCode) const;
    /// The payload of the model's answer to a read request (or CloseSession), or nothing
    /// when the model does not answer it.
    std::optional<QByteArray> encode(quint8 requestCode, const ModelData &values) const;

    QByteArray deviceId(quint8 id) const;
    QByteArray altitude(const ModelData &values) const;
    QByteArray currentBike(const ModelData &values) const;
    QByteArray heartRate(const ModelData &values) const;
    QByteArray dateTime(const ModelData &values) const;
    /// Bike settings of bike 0 or 1, in the one- or two-bike layout of the model.
    QByteArray bikeSettings(const ModelData &values, int bike) const;
    QByteArray bikeAux(const ModelData &values) const;
    /// The version as two BCD digits (21 is sent as 0x21).
    QByteArray firmwareVersion(const ModelData &values) const;
    QByteArray modelOption(const ModelData &values) const;

    /// Catalogue length of an answer code for the model, -1 where it has none.
    int lengthOf(quint8 answerCode) const { return model->answerSize(answerCode); }

private:
    const DeviceModel *model;
};
