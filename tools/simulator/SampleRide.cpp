// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/simulator/SampleRide.h"

#include "linkhub/TunedockCommand.h"
#include "tools/simulator/AnswerEncoder.h"

namespace {

void clearAltitude(ModelData &values, bool keepSettings)
{
    const quint16 paramA = values.altitudeParamA;
    const quint16 paramB = values.altitudeParamB;
    const bool flagA = values.altitudeFlagA, flagB = values.altitudeFlagB, flagC = values.altitudeFlagC;
    values.altitudeParamA = values.altitudeParamB = 0;
    values.altitudeFlagA = values.altitudeFlagB = values.altitudeFlagC = false;
    values.dailyMaxTemp = values.dailyMinTemp = 0;
    values.dailyAltGain = values.dailyAltLoss = 0;
    values.dailyMaxAlt = 0;
    values.ascentAvgGradient = values.ascentMaxGradient = 0;
    values.descentAvgGradient = values.descentMaxGradient = 0;
    values.ascentAvgVario = values.ascentMaxVario = 0;
    values.descentAvgVario = values.descentMaxVario = 0;
    for (Bike &bike : values.bikes) {
        bike.altGain = bike.altLoss = 0;
        bike.maxAlt = 0;
    }
    if (keepSettings) {
        values.altitudeParamA = paramA;
        values.altitudeParamB = paramB;
        values.altitudeFlagA = flagA;
        values.altitudeFlagB = flagB;
        values.altitudeFlagC = flagC;
    }
}

void clearHeartRateDay(ModelData &values)
{
    values.avgHeartRate = values.maxHeartRate = 0;
    values.hrLowerZoneSec = values.hrLowerZoneMin = values.hrLowerZoneHour = 0;
    values.hrInZoneSec = values.hrInZoneMin = values.hrInZoneHour = 0;
    values.hrUpperZoneSec = values.hrUpperZoneMin = values.hrUpperZoneHour = 0;
    values.dailyCalories = 0;
}

void clearHeartRateSettings(ModelData &values)
{
    values.heartRateParamA = values.heartRateParamB = values.heartRateParamC = 0;
    values.heartRateParamD = values.heartRateParamE = 0;
    values.heartRateParamWord = 0;
    values.heartRateFlagA = 0;
    values.heartRateFlagB = false;
}

void clearRide(Bike &bike)
{
    bike.rideTimeSec = bike.rideTimeMin = bike.rideTimeHour = 0;
    bike.avgSpeed = bike.maxSpeed = 0;
    bike.avgCadence = bike.maxCadence = 0;
}

void clearExtension(Bike &bike)
{
    bike.bikeExtraByte = 0;
    bike.bikeFlagB = bike.bikeFlagC = false;
}

} // namespace

int SampleRide::defaultFirmwareVersion(quint8 modelId)
{
    switch (modelId) {
    case 0x11: return 31;
    case 0x12: return 32;
    case 0x21: return 34;
    case 0x22: return 35;
    case 0x23: return 36;
    case 0x51: return 15;
    case 0x61: return 10;
    default: return 30;
    }
}

ModelData SampleRide::forModel(const DeviceModel *model)
{
    ModelData values(model);
    const quint8 id = model->id;

    // A hilly spring Saturday: a long ride on bike 1, a short one on bike 2.
    values.year = 24;
    values.month = 3;
    values.day = 16;
    values.hour = 17;
    values.minute = 42;
    values.second = 8;
    values.clockFlag = true;

    values.altitudeParamA = 420;
    values.altitudeParamB = 1013;
    values.altitudeFlagA = true;
    values.altitudeFlagB = false;
    values.altitudeFlagC = true;
    values.dailyMaxTemp = 14;
    values.dailyMinTemp = -2;

    Bike &road = values.bikes[0];
    road.dailyDistance = 48650000 + id * 1000u;
    road.totalDistance = 12345678901ull + id;
    road.bikeParamWord = 2155; // wheel circumference, mm
    road.bikeParamByte = 3;
    road.bikeFlagA = true;
    road.bikeAuxWord = 300;
    road.bikeAuxFlag = true;
    road.bikeExtraByte = 0x2A;
    road.bikeFlagB = true;
    road.bikeFlagC = false;
    road.altGain = 812;
    road.altLoss = 798;
    road.maxAlt = 1260;
    road.rideTimeSec = 37;
    road.rideTimeMin = 52;
    road.rideTimeHour = 1;
    road.avgSpeed = 259;
    road.maxSpeed = 612;
    road.avgCadence = 84;
    road.maxCadence = 117;

    Bike &town = values.bikes[1];
    town.dailyDistance = 12300000;
    town.totalDistance = 4321098765ull;
    town.bikeParamWord = 2096;
    town.bikeParamByte = 5;
    town.bikeFlagA = false;
    town.bikeAuxWord = 275;
    town.bikeAuxFlag = false;
    town.bikeExtraByte = 0x11;
    town.bikeFlagB = false;
    town.bikeFlagC = true;
    town.altGain = 143;
    town.altLoss = 150;
    town.maxAlt = 655;
    town.rideTimeSec = 5;
    town.rideTimeMin = 41;
    town.rideTimeHour = 0;
    town.avgSpeed = 181;
    town.maxSpeed = 398;
    town.avgCadence = 71;
    town.maxCadence = 96;

    values.dailyAltGain = road.altGain + town.altGain;
    values.dailyAltLoss = road.altLoss + town.altLoss;
    values.dailyMaxAlt = 1260;
    values.ascentAvgGradient = 5;
    values.ascentMaxGradient = 14;
    values.descentAvgGradient = 6;
    values.descentMaxGradient = 17;
    values.ascentAvgVario = 612;
    values.ascentMaxVario = 1380;
    values.descentAvgVario = 845;
    values.descentMaxVario = 2210;

    values.currentBike = 1;
    values.heartRateParamA = 185;
    values.heartRateParamWord = 1975;
    values.heartRateParamB = 130;
    values.heartRateParamC = 165;
    values.heartRateParamD = 72;
    values.heartRateParamE = 1;
    values.heartRateFlagA = 1;
    values.heartRateFlagB = true;
    values.avgHeartRate = 138;
    values.maxHeartRate = 176;
    values.hrLowerZoneSec = 14;
    values.hrLowerZoneMin = 21;
    values.hrLowerZoneHour = 0;
    values.hrInZoneSec = 40;
    values.hrInZoneMin = 12;
    values.hrInZoneHour = 1;
    values.hrUpperZoneSec = 43;
    values.hrUpperZoneMin = 18;
    values.hrUpperZoneHour = 0;
    values.dailyCalories = 1432;

    // Two models show imperial units, so that the unit flag is seen set as well as clear.
    values.unitSystem = (id == 0x12 || id == 0x22) ? 1 : 0;
    values.firmwareVersion = quint8(defaultFirmwareVersion(id));
    values.modelOption = 0x05;

    // Now take away what this model's answers cannot carry.
    const AnswerEncoder encoder(model);
    if (!encoder.answers(ReadAltitude))
        clearAltitude(values, false);
    else if (encoder.lengthOf(AltitudeData) == AnswerEncoder::ShortAltitudeLength)
        clearAltitude(values, true);

    if (!encoder.answers(ReadCurrentBike))
        values.currentBike = 0;

    if (!encoder.answers(ReadHeartRate)) {
        clearHeartRateSettings(values);
        clearHeartRateDay(values);
    } else if (encoder.lengthOf(HeartRateData) == AnswerEncoder::ShortHeartRateLength) {
        clearHeartRateDay(values);
    }

    if (!model->hasDate)
        values.year = values.month = values.day = 0;

    if (model->bikeCount == 1) {
        values.bikes[1] = Bike();
        road.dailyDistance = 0;
        road.bikeParamByte = 0;
        road.bikeFlagA = false;
        clearRide(road);
        clearExtension(road);
    } else {
        const int length = encoder.lengthOf(Bike1SettingsData);
        for (Bike &bike : values.bikes) {
            if (length == AnswerEncoder::ShortBikeSettingsLength)
                clearRide(bike);
            if (length != AnswerEncoder::ExtendedBikeSettingsLength)
                clearExtension(bike);
        }
    }

    if (!encoder.answers(ReadModelOption))
        values.modelOption = 0;
    return values;
}
