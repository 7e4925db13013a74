// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/simulator/AnswerEncoder.h"

#include "linkhub/TunedockCommand.h"

namespace {

void appendLittleEndian(QByteArray &bytes, quint64 value, int size)
{
    for (int i = 0; i < size; ++i)
        bytes.append(char((value >> (8 * i)) & 0xFF));
}

char flagBits(std::initializer_list<bool> flags)
{
    int bits = 0;
    int bit = 0;
    for (bool flag : flags)
        bits |= (flag ? 1 : 0) << bit++;
    return char(bits);
}

} // namespace

bool AnswerEncoder::answers(quint8 requestCode) const
{
    switch (requestCode) {
    case ReadDeviceId:
    case ReadDateTime:
    case ReadBikeAux:
    case CloseSession:
    case ReadFirmwareVersion:
        return true;
    case ReadAltitude:
    case ReadCurrentBike:
    case ReadHeartRate:
        return lengthOf(answerCodeFor(requestCode)) >= 0;
    case ReadBikeSettings:
        return model->bikeCount == 1;
    case ReadBike1Settings:
    case ReadBike2Settings:
        return model->bikeCount == 2;
    case ReadModelOption:
        return model->id == 0x51; // the one model that keeps an option byte
    default:
        return false;
    }
}

std::optional<QByteArray> AnswerEncoder::encode(quint8 requestCode, const ModelData &values) const
{
    if (!answers(requestCode))
        return std::nullopt;
    switch (requestCode) {
    case ReadDeviceId:
        return deviceId(model->id);
    case ReadAltitude:
        return altitude(values);
    case ReadCurrentBike:
        return currentBike(values);
    case ReadHeartRate:
        return heartRate(values);
    case ReadDateTime:
        return dateTime(values);
    case ReadBikeSettings:
    case ReadBike1Settings:
        return bikeSettings(values, 0);
    case ReadBike2Settings:
        return bikeSettings(values, 1);
    case ReadBikeAux:
        return bikeAux(values);
    case CloseSession:
        return QByteArray();
    case ReadFirmwareVersion:
        return firmwareVersion(values);
    case ReadModelOption:
        return modelOption(values);
    default:
        return std::nullopt;
    }
}

QByteArray AnswerEncoder::deviceId(quint8 id) const
{
    return QByteArray(1, char(id));
}

QByteArray AnswerEncoder::altitude(const ModelData &values) const
{
    QByteArray bytes;
    appendLittleEndian(bytes, values.altitudeParamA, 2);
    appendLittleEndian(bytes, values.altitudeParamB, 2);
    const char flags = flagBits({values.altitudeFlagA, values.altitudeFlagB, values.altitudeFlagC});
    if (lengthOf(AltitudeData) == ShortAltitudeLength) {
        bytes.append(flags);
        return bytes;
    }
    bytes.append(char(values.dailyMaxTemp));
    bytes.append(char(values.dailyMinTemp));
    for (const Bike &bike : values.bikes) {
        appendLittleEndian(bytes, bike.altGain, 4);
        appendLittleEndian(bytes, bike.altLoss, 4);
        appendLittleEndian(bytes, bike.maxAlt, 2);
    }
    appendLittleEndian(bytes, values.dailyAltGain, 4);
    appendLittleEndian(bytes, values.dailyAltLoss, 4);
    appendLittleEndian(bytes, values.dailyMaxAlt, 2);
    for (quint16 word : {values.ascentAvgGradient, values.ascentMaxGradient, values.descentAvgGradient,
                         values.descentMaxGradient, values.ascentAvgVario, values.ascentMaxVario,
                         values.descentAvgVario, values.descentMaxVario})
        appendLittleEndian(bytes, word, 2);
    bytes.append(flags);
    return bytes;
}

QByteArray AnswerEncoder::currentBike(const ModelData &values) const
{
    return QByteArray(1, char(values.currentBike & 1));
}

QByteArray AnswerEncoder::heartRate(const ModelData &values) const
{
    QByteArray bytes;
    bytes.append(char(values.heartRateParamA));
    appendLittleEndian(bytes, values.heartRateParamWord, 2);
    bytes.append(char(values.heartRateParamB));
    bytes.append(char(values.heartRateParamC));
    bytes.append(char(values.heartRateParamD));
    bytes.append(char(values.heartRateParamE));
    const char flags = flagBits({values.heartRateFlagA != 0, values.heartRateFlagB});
    if (lengthOf(HeartRateData) == ShortHeartRateLength) {
        bytes.append(flags);
        return bytes;
    }
    bytes.append(char(values.avgHeartRate));
    bytes.append(char(values.maxHeartRate));
    for (quint8 part : {values.hrLowerZoneSec, values.hrLowerZoneMin, values.hrLowerZoneHour,
                        values.hrInZoneSec, values.hrInZoneMin, values.hrInZoneHour,
                        values.hrUpperZoneSec, values.hrUpperZoneMin, values.hrUpperZoneHour})
        bytes.append(char(part));
    // The device counts energy in calories, the record in kilocalories.
    appendLittleEndian(bytes, quint64(values.dailyCalories) * 1000, 4);
    bytes.append(flags);
    return bytes;
}

QByteArray AnswerEncoder::dateTime(const ModelData &values) const
{
    QByteArray bytes;
    for (quint8 part : {values.year, values.month, values.day, values.hour, values.minute, values.second})
        bytes.append(char(part));
    bytes.append(flagBits({values.clockFlag}));
    return bytes;
}

QByteArray AnswerEncoder::bikeSettings(const ModelData &values, int bike) const
{
    const Bike &b = values.bikes[bike & 1];
    const bool imperial = values.unitSystem == 1;
    QByteArray bytes;
    if (model->bikeCount == 1) {
        appendLittleEndian(bytes, b.totalDistance, 5);
        appendLittleEndian(bytes, b.bikeParamWord, 2);
        bytes.append(flagBits({imperial}));
        return bytes;
    }
    const int length = lengthOf(Bike1SettingsData);
    appendLittleEndian(bytes, b.dailyDistance, 4);
    appendLittleEndian(bytes, b.totalDistance, 8);
    appendLittleEndian(bytes, b.bikeParamWord, 2);
    bytes.append(char(b.bikeParamByte));
    if (length == ShortBikeSettingsLength) {
        bytes.append(flagBits({imperial, b.bikeFlagA}));
        return bytes;
    }
    bytes.append(char(b.rideTimeSec));
    bytes.append(char(b.rideTimeMin));
    bytes.append(char(b.rideTimeHour));
    appendLittleEndian(bytes, b.avgSpeed, 2);
    appendLittleEndian(bytes, b.maxSpeed, 2);
    bytes.append(char(b.avgCadence));
    bytes.append(char(b.maxCadence));
    if (length == ExtendedBikeSettingsLength) {
        bytes.append(flagBits({imperial, b.bikeFlagA, b.bikeFlagB, b.bikeFlagC}));
        bytes.append(char(b.bikeExtraByte));
    } else {
        bytes.append(flagBits({imperial, b.bikeFlagA}));
    }
    return bytes;
}

QByteArray AnswerEncoder::bikeAux(const ModelData &values) const
{
    QByteArray bytes;
    appendLittleEndian(bytes, values.bikes[0].bikeAuxWord, 2);
    if (model->bikeCount == 1) {
        bytes.append(flagBits({values.bikes[0].bikeAuxFlag}));
        return bytes;
    }
    appendLittleEndian(bytes, values.bikes[1].bikeAuxWord, 2);
    bytes.append(flagBits({values.bikes[0].bikeAuxFlag, values.bikes[1].bikeAuxFlag}));
    return bytes;
}

QByteArray AnswerEncoder::firmwareVersion(const ModelData &values) const
{
    const int version = values.firmwareVersion % 100;
    return QByteArray(1, char(((version / 10) << 4) | (version % 10)));
}

QByteArray AnswerEncoder::modelOption(const ModelData &values) const
{
    return QByteArray(1, char(values.modelOption));
}
