// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/simulator/WriteDecoder.h"

#include "linkhub/TunedockCommand.h"

namespace {

quint64 littleEndian(const QByteArray &bytes, int offset, int size)
{
    quint64 value = 0;
    for (int i = size - 1; i >= 0; --i)
        value = (value << 8) | quint8(bytes.at(offset + i));
    return value;
}

bool bitSet(const QByteArray &bytes, int offset, int bit)
{
    return (quint8(bytes.at(offset)) >> bit) & 1;
}

} // namespace

bool WriteDecoder::isWrite(quint8 requestCode)
{
    switch (requestCode) {
    case WriteAltitude:
    case WriteCurrentBike:
    case WriteHeartRate:
    case WriteDateTime:
    case WriteBikeSettings:
    case WriteBike1Settings:
    case WriteBike2Settings:
    case WriteBikeAux:
    case WriteModelOption:
        return true;
    default:
        return false;
    }
}

bool WriteDecoder::apply(quint8 requestCode, const QByteArray &payload, ModelData &values) const
{
    const int size = payload.size();
    switch (requestCode) {
    case WriteAltitude:
        if (size != 5)
            return false;
        values.altitudeParamA = quint16(littleEndian(payload, 0, 2));
        values.altitudeParamB = quint16(littleEndian(payload, 2, 2));
        values.altitudeFlagA = bitSet(payload, 4, 0);
        values.altitudeFlagB = bitSet(payload, 4, 1);
        values.altitudeFlagC = bitSet(payload, 4, 2);
        return true;
    case WriteCurrentBike:
        if (size != 1 || model->bikeCount != 2)
            return false;
        values.currentBike = quint8(payload.at(0)) & 1;
        return true;
    case WriteHeartRate:
        if (size != 8)
            return false;
        values.heartRateParamA = quint8(payload.at(0));
        values.heartRateParamWord = quint16(littleEndian(payload, 1, 2));
        values.heartRateParamB = quint8(payload.at(3));
        values.heartRateParamC = quint8(payload.at(4));
        values.heartRateParamD = quint8(payload.at(5));
        values.heartRateParamE = quint8(payload.at(6));
        values.heartRateFlagA = bitSet(payload, 7, 0) ? 1 : 0;
        values.heartRateFlagB = bitSet(payload, 7, 1);
        return true;
    case WriteDateTime:
        if (size != 7)
            return false;
        // A model without a calendar gets zeros for the date and keeps what it had.
        if (model->hasDate) {
            values.year = quint8(payload.at(0));
            values.month = quint8(payload.at(1));
            values.day = quint8(payload.at(2));
        }
        values.hour = quint8(payload.at(3));
        values.minute = quint8(payload.at(4));
        values.second = quint8(payload.at(5));
        values.clockFlag = bitSet(payload, 6, 0);
        return true;
    case WriteBikeSettings:
        return model->bikeCount == 1 && bikeSettings(payload, values.bikes[0], values);
    case WriteBike1Settings:
        return model->bikeCount == 2 && bikeSettings(payload, values.bikes[0], values);
    case WriteBike2Settings:
        return model->bikeCount == 2 && bikeSettings(payload, values.bikes[1], values);
    case WriteBikeAux:
        if (size != (model->bikeCount == 2 ? 5 : 3))
            return false;
        values.bikes[0].bikeAuxWord = quint16(littleEndian(payload, 0, 2));
        values.bikes[0].bikeAuxFlag = bitSet(payload, size - 1, 0);
        if (size == 5) {
            values.bikes[1].bikeAuxWord = quint16(littleEndian(payload, 2, 2));
            values.bikes[1].bikeAuxFlag = bitSet(payload, 4, 1);
        }
        return true;
    case WriteModelOption:
        if (size != 1)
            return false;
        values.modelOption = quint8(payload.at(0));
        return true;
    default:
        return false;
    }
}

bool WriteDecoder::bikeSettings(const QByteArray &payload, Bike &bike, ModelData &values) const
{
    const bool extended = model->id == 0x51; // the model that keeps two more flags and a byte
    if (model->bikeCount == 1) {
        if (payload.size() != 8)
            return false;
        bike.totalDistance = littleEndian(payload, 0, 5);
        bike.bikeParamWord = quint16(littleEndian(payload, 5, 2));
        values.unitSystem = bitSet(payload, 7, 0);
        return true;
    }
    if (payload.size() != (extended ? 17 : 16))
        return false;
    bike.dailyDistance = quint32(littleEndian(payload, 0, 4));
    bike.totalDistance = littleEndian(payload, 4, 8);
    bike.bikeParamWord = quint16(littleEndian(payload, 12, 2));
    bike.bikeParamByte = quint8(payload.at(14));
    values.unitSystem = bitSet(payload, 15, 0);
    bike.bikeFlagA = bitSet(payload, 15, 1);
    if (extended) {
        bike.bikeFlagB = bitSet(payload, 15, 2);
        bike.bikeFlagC = bitSet(payload, 15, 3);
        bike.bikeExtraByte = quint8(payload.at(16));
    }
    return true;
}
