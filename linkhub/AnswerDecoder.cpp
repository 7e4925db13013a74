// SPDX-License-Identifier: GPL-3.0-or-later
#include "linkhub/private/AnswerDecoder.h"

#include <QtEndian>

namespace {
// Little-endian field readers; callers have checked the payload length.
quint8 u8(const QByteArray &payload, int offset)
{
    return static_cast<quint8>(payload.at(offset));
}

quint16 u16(const QByteArray &payload, int offset)
{
    return qFromLittleEndian<quint16>(payload.constData() + offset);
}

quint32 u32(const QByteArray &payload, int offset)
{
    return qFromLittleEndian<quint32>(payload.constData() + offset);
}

quint64 u64(const QByteArray &payload, int offset)
{
    return qFromLittleEndian<quint64>(payload.constData() + offset);
}

quint64 u40(const QByteArray &payload, int offset)
{
    return quint64(u32(payload, offset)) | (quint64(u8(payload, offset + 4)) << 32);
}

bool bit(quint8 flags, int number)
{
    return (flags >> number) & 1;
}

constexpr int Lumo60Id = 0x51;
}

bool AnswerDecoder::altitude(ModelData &data, const QByteArray &payload)
{
    if (payload.size() < AltitudeSize)
        return false;
    data.altitudeParamA = u16(payload, 0);
    data.altitudeParamB = u16(payload, 2);
    data.dailyMaxTemp = static_cast<qint8>(u8(payload, 4));
    data.dailyMinTemp = static_cast<qint8>(u8(payload, 5));
    for (int bike = 0; bike < 2; ++bike) {
        const int base = 6 + bike * 10;
        data.bikes[bike].altGain = u32(payload, base);
        data.bikes[bike].altLoss = u32(payload, base + 4);
        data.bikes[bike].maxAlt = u16(payload, base + 8);
    }
    data.dailyAltGain = u32(payload, 26);
    data.dailyAltLoss = u32(payload, 30);
    data.dailyMaxAlt = u16(payload, 34);
    data.ascentAvgGradient = u16(payload, 36);
    data.ascentMaxGradient = u16(payload, 38);
    data.descentAvgGradient = u16(payload, 40);
    data.descentMaxGradient = u16(payload, 42);
    data.ascentAvgVario = u16(payload, 44);
    data.ascentMaxVario = u16(payload, 46);
    data.descentAvgVario = u16(payload, 48);
    data.descentMaxVario = u16(payload, 50);
    const quint8 flags = u8(payload, 52);
    data.altitudeFlagA = bit(flags, 0);
    data.altitudeFlagB = bit(flags, 1);
    data.altitudeFlagC = bit(flags, 2);
    return true;
}

bool AnswerDecoder::currentBike(ModelData &data, const QByteArray &payload)
{
    if (payload.isEmpty())
        return false;
    data.currentBike = u8(payload, 0) & 1;
    return true;
}

bool AnswerDecoder::heartRate(ModelData &data, const QByteArray &payload)
{
    if (payload.size() < HeartRateSize)
        return false;
    data.heartRateParamA = u8(payload, 0);
    data.heartRateParamWord = u16(payload, 1);
    data.heartRateParamB = u8(payload, 3);
    data.heartRateParamC = u8(payload, 4);
    data.heartRateParamD = u8(payload, 5);
    data.heartRateParamE = u8(payload, 6);
    data.avgHeartRate = u8(payload, 7);
    data.maxHeartRate = u8(payload, 8);
    data.hrLowerZoneSec = u8(payload, 9);
    data.hrLowerZoneMin = u8(payload, 10);
    data.hrLowerZoneHour = u8(payload, 11);
    data.hrInZoneSec = u8(payload, 12);
    data.hrInZoneMin = u8(payload, 13);
    data.hrInZoneHour = u8(payload, 14);
    data.hrUpperZoneSec = u8(payload, 15);
    data.hrUpperZoneMin = u8(payload, 16);
    data.hrUpperZoneHour = u8(payload, 17);
    data.dailyCalories = u32(payload, 18) / 1000; // the device counts calories, the record kcal
    const quint8 flags = u8(payload, 22);
    data.heartRateFlagA = bit(flags, 0) ? 1 : 0;
    data.heartRateFlagB = bit(flags, 1);
    return true;
}

bool AnswerDecoder::dateTime(ModelData &data, const QByteArray &payload)
{
    if (payload.size() < DateTimeSize)
        return false;
    data.receivedAt = QDateTime::currentDateTime();
    data.year = u8(payload, 0);
    data.month = u8(payload, 1);
    data.day = u8(payload, 2);
    data.hour = u8(payload, 3);
    data.minute = u8(payload, 4);
    data.second = u8(payload, 5);
    data.clockFlag = bit(u8(payload, 6), 0);
    return true;
}

bool AnswerDecoder::bikeSettings(ModelData &data, int bike, const QByteArray &payload)
{
    if (!data.deviceModel || bike < 0 || bike > 1)
        return false;
    switch (data.deviceModel->bikeCount) {
    case 1:
        return oneBikeSettings(data.bikes[bike], data, payload);
    case 2:
        return twoBikeSettings(data.bikes[bike], data, payload);
    default:
        return false;
    }
}

bool AnswerDecoder::oneBikeSettings(Bike &bike, ModelData &data, const QByteArray &payload)
{
    if (payload.size() < OneBikeSettingsSize)
        return false;
    bike.totalDistance = u40(payload, 0);
    bike.bikeParamWord = u16(payload, 5);
    data.unitSystem = bit(u8(payload, 7), 0);
    bike.dailyDistance = 0;
    bike.bikeFlagA = false;
    return true;
}

bool AnswerDecoder::twoBikeSettings(Bike &bike, ModelData &data, const QByteArray &payload)
{
    if (payload.size() < TwoBikeSettingsSize)
        return false;
    bike.dailyDistance = u32(payload, 0);
    bike.totalDistance = u64(payload, 4);
    bike.bikeParamWord = u16(payload, 12);
    bike.bikeParamByte = u8(payload, 14);
    bike.rideTimeSec = u8(payload, 15);
    bike.rideTimeMin = u8(payload, 16);
    bike.rideTimeHour = u8(payload, 17);
    bike.avgSpeed = u16(payload, 18);
    bike.maxSpeed = u16(payload, 20);
    bike.avgCadence = u8(payload, 22);
    bike.maxCadence = u8(payload, 23);
    const quint8 flags = u8(payload, 24);
    data.unitSystem = bit(flags, 0);
    bike.bikeFlagA = bit(flags, 1);
    if (data.deviceModel->id == Lumo60Id && payload.size() > TwoBikeSettingsSize) {
        bike.bikeFlagB = bit(flags, 2);
        bike.bikeFlagC = bit(flags, 3);
        bike.bikeExtraByte = u8(payload, 25);
    }
    return true;
}

bool AnswerDecoder::bikeAux(ModelData &data, const QByteArray &payload)
{
    if (payload.size() >= 5) {
        data.bikes[0].bikeAuxWord = u16(payload, 0);
        data.bikes[1].bikeAuxWord = u16(payload, 2);
        data.bikes[0].bikeAuxFlag = bit(u8(payload, 4), 0);
        data.bikes[1].bikeAuxFlag = bit(u8(payload, 4), 1);
        return true;
    }
    if (payload.size() >= 3) {
        data.bikes[0].bikeAuxWord = u16(payload, 0);
        data.bikes[0].bikeAuxFlag = bit(u8(payload, 2), 0);
        return true;
    }
    return false;
}

bool AnswerDecoder::firmwareVersion(ModelData &data, const QByteArray &payload)
{
    if (payload.isEmpty())
        return false;
    const quint8 bcd = u8(payload, 0);
    data.firmwareVersion = static_cast<quint8>((bcd >> 4) * 10 + (bcd & 0x0F));
    return true;
}

bool AnswerDecoder::modelOption(ModelData &data, const QByteArray &payload)
{
    if (payload.isEmpty())
        return false;
    data.modelOption = u8(payload, 0);
    return true;
}
