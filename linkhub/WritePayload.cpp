// SPDX-License-Identifier: GPL-3.0-or-later
#include "linkhub/private/WritePayload.h"

namespace {

void appendLittleEndian(QByteArray &bytes, quint64 value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes.append(char((value >> (8 * i)) & 0xFF));
}

char flags(std::initializer_list<bool> bits)
{
    int value = 0;
    int position = 0;
    for (bool bit : bits)
        value |= (bit ? 1 : 0) << position++;
    return char(value);
}

constexpr unsigned char Lumo60Id = 0x51;

} // namespace

std::optional<WritePayload::Packet> WritePayload::forBlock(const DeviceModel &session, const ModelData *current,
                                                           const ModelData &data, int bits)
{
    switch (bits) {
    case AltitudeUpdate:
        return Packet{WriteAltitude, altitude(data)};
    case CurrentBikeUpdate:
        return Packet{WriteCurrentBike, currentBike(data)};
    case HeartRateUpdate:
        return Packet{WriteHeartRate, heartRate(data)};
    case DateTimeUpdate:
        return Packet{WriteDateTime, dateTime(session, data)};
    case Bike1Update:
        return Packet{session.bikeCount == 1 ? WriteBikeSettings : WriteBike1Settings,
                      bikeSettings(session, current, data, data.bikes[0])};
    case Bike2Update:
        return Packet{WriteBike2Settings, bikeSettings(session, current, data, data.bikes[1])};
    case BikeAuxUpdate:
        return Packet{WriteBikeAux, bikeAux(data)};
    case ModelOptionUpdate:
        return Packet{WriteModelOption, modelOption(data)};
    default:
        return std::nullopt;
    }
}

QByteArray WritePayload::bikeSettings(const DeviceModel &session, const ModelData *current, const ModelData &data,
                                      const Bike &bike)
{
    // The format follows the record the link holds; before any record exists, the one given.
    const ModelData &held = current ? *current : data;
    const int bikeCount = held.deviceModel ? held.deviceModel->bikeCount : 0;
    QByteArray bytes;
    if (bikeCount == 1) {
        appendLittleEndian(bytes, bike.totalDistance, 5);
        appendLittleEndian(bytes, bike.bikeParamWord, 2);
        bytes.append(flags({held.unitSystem == 1}));
    } else if (bikeCount == 2) {
        appendLittleEndian(bytes, bike.dailyDistance, 4);
        appendLittleEndian(bytes, bike.totalDistance, 8);
        appendLittleEndian(bytes, bike.bikeParamWord, 2);
        bytes.append(char(bike.bikeParamByte));
        if (session.id == Lumo60Id) {
            bytes.append(flags({data.unitSystem == 1, bike.bikeFlagA, bike.bikeFlagB, bike.bikeFlagC}));
            bytes.append(char(bike.bikeExtraByte));
        } else {
            bytes.append(flags({data.unitSystem == 1, bike.bikeFlagA}));
        }
    }
    return bytes;
}

QByteArray WritePayload::altitude(const ModelData &data)
{
    QByteArray bytes;
    appendLittleEndian(bytes, data.altitudeParamA, 2);
    appendLittleEndian(bytes, data.altitudeParamB, 2);
    bytes.append(flags({data.altitudeFlagA, data.altitudeFlagB, data.altitudeFlagC}));
    return bytes;
}

QByteArray WritePayload::currentBike(const ModelData &data)
{
    // Only the two bikes the device knows can be chosen; anything else goes out without a byte.
    if (data.currentBike == 0 || data.currentBike == 1)
        return QByteArray(1, char(data.currentBike));
    return QByteArray();
}

QByteArray WritePayload::heartRate(const ModelData &data)
{
    QByteArray bytes;
    bytes.append(char(data.heartRateParamA));
    appendLittleEndian(bytes, data.heartRateParamWord, 2);
    for (quint8 part : {data.heartRateParamB, data.heartRateParamC, data.heartRateParamD, data.heartRateParamE})
        bytes.append(char(part));
    bytes.append(char((data.heartRateFlagA & 1) | (data.heartRateFlagB ? 2 : 0)));
    return bytes;
}

QByteArray WritePayload::dateTime(const DeviceModel &session, const ModelData &data)
{
    QByteArray bytes;
    for (quint8 part : {data.year, data.month, data.day})
        bytes.append(session.hasDate ? char(part) : char(0));
    for (quint8 part : {data.hour, data.minute, data.second})
        bytes.append(char(part));
    bytes.append(flags({data.clockFlag}));
    return bytes;
}

QByteArray WritePayload::bikeAux(const ModelData &data)
{
    const bool twoBikes = data.deviceModel && data.deviceModel->bikeCount == 2;
    QByteArray bytes;
    appendLittleEndian(bytes, data.bikes[0].bikeAuxWord, 2);
    if (twoBikes)
        appendLittleEndian(bytes, data.bikes[1].bikeAuxWord, 2);
    int bits = data.bikes[0].bikeAuxFlag ? 1 : 0;
    if (twoBikes && data.bikes[1].bikeAuxFlag)
        bits |= 2;
    bytes.append(char(bits));
    return bytes;
}

QByteArray WritePayload::modelOption(const ModelData &data)
{
    return QByteArray(1, char(data.modelOption));
}
