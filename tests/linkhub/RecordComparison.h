// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkhub/ModelData.h"

#include <QTest>

/// What a link that has read a simulated device completely holds: the device's values,
/// except the firmware version of models the link does not ask for it, and the Lumo 70's
/// short altitude, heart-rate and bike-settings blocks, which the link leaves undecoded.
inline ModelData expectedRecord(const ModelData &deviceValues)
{
    ModelData expected = deviceValues;
    if (deviceValues.deviceModel && !deviceValues.deviceModel->has(DeviceModel::FirmwareCheck))
        expected.firmwareVersion = 0;
    if (deviceValues.deviceModel && deviceValues.deviceModel->id == 0x61) {
        expected.altitudeParamA = expected.altitudeParamB = 0;
        expected.altitudeFlagA = expected.altitudeFlagB = expected.altitudeFlagC = false;
        expected.heartRateParamA = expected.heartRateParamB = expected.heartRateParamC = 0;
        expected.heartRateParamD = expected.heartRateParamE = 0;
        expected.heartRateParamWord = 0;
        expected.heartRateFlagA = 0;
        expected.heartRateFlagB = false;
        for (Bike &bike : expected.bikes) {
            bike.dailyDistance = 0;
            bike.totalDistance = 0;
            bike.bikeParamWord = 0;
            bike.bikeParamByte = 0;
            bike.bikeFlagA = false;
        }
        expected.unitSystem = 0;
    }
    return expected;
}

#define PACEROW_COMPARE_FIELD(field) QCOMPARE(actual.field, expected.field)

/// Compares every value field of two records (not receivedAt, which the link stamps itself).
inline void compareRecords(const ModelData &actual, const ModelData &expected)
{
    // The link and the device each hold a catalogue of their own: compare the rows by id.
    QVERIFY(actual.deviceModel && expected.deviceModel);
    PACEROW_COMPARE_FIELD(deviceModel->id);
    PACEROW_COMPARE_FIELD(modelOption);
    PACEROW_COMPARE_FIELD(altitudeParamA);
    PACEROW_COMPARE_FIELD(altitudeParamB);
    PACEROW_COMPARE_FIELD(altitudeFlagA);
    PACEROW_COMPARE_FIELD(altitudeFlagB);
    PACEROW_COMPARE_FIELD(altitudeFlagC);
    PACEROW_COMPARE_FIELD(dailyMaxTemp);
    PACEROW_COMPARE_FIELD(dailyMinTemp);
    PACEROW_COMPARE_FIELD(dailyAltGain);
    PACEROW_COMPARE_FIELD(dailyAltLoss);
    PACEROW_COMPARE_FIELD(dailyMaxAlt);
    PACEROW_COMPARE_FIELD(ascentAvgGradient);
    PACEROW_COMPARE_FIELD(ascentMaxGradient);
    PACEROW_COMPARE_FIELD(descentAvgGradient);
    PACEROW_COMPARE_FIELD(descentMaxGradient);
    PACEROW_COMPARE_FIELD(ascentAvgVario);
    PACEROW_COMPARE_FIELD(ascentMaxVario);
    PACEROW_COMPARE_FIELD(descentAvgVario);
    PACEROW_COMPARE_FIELD(descentMaxVario);
    PACEROW_COMPARE_FIELD(currentBike);
    PACEROW_COMPARE_FIELD(heartRateParamA);
    PACEROW_COMPARE_FIELD(heartRateParamWord);
    PACEROW_COMPARE_FIELD(heartRateParamB);
    PACEROW_COMPARE_FIELD(heartRateParamC);
    PACEROW_COMPARE_FIELD(heartRateParamD);
    PACEROW_COMPARE_FIELD(heartRateParamE);
    PACEROW_COMPARE_FIELD(heartRateFlagA);
    PACEROW_COMPARE_FIELD(heartRateFlagB);
    PACEROW_COMPARE_FIELD(avgHeartRate);
    PACEROW_COMPARE_FIELD(maxHeartRate);
    PACEROW_COMPARE_FIELD(hrLowerZoneSec);
    PACEROW_COMPARE_FIELD(hrLowerZoneMin);
    PACEROW_COMPARE_FIELD(hrLowerZoneHour);
    PACEROW_COMPARE_FIELD(hrInZoneSec);
    PACEROW_COMPARE_FIELD(hrInZoneMin);
    PACEROW_COMPARE_FIELD(hrInZoneHour);
    PACEROW_COMPARE_FIELD(hrUpperZoneSec);
    PACEROW_COMPARE_FIELD(hrUpperZoneMin);
    PACEROW_COMPARE_FIELD(hrUpperZoneHour);
    PACEROW_COMPARE_FIELD(dailyCalories);
    PACEROW_COMPARE_FIELD(year);
    PACEROW_COMPARE_FIELD(month);
    PACEROW_COMPARE_FIELD(day);
    PACEROW_COMPARE_FIELD(hour);
    PACEROW_COMPARE_FIELD(minute);
    PACEROW_COMPARE_FIELD(second);
    PACEROW_COMPARE_FIELD(clockFlag);
    PACEROW_COMPARE_FIELD(unitSystem);
    PACEROW_COMPARE_FIELD(firmwareVersion);
    for (int i = 0; i < 2; ++i) {
        PACEROW_COMPARE_FIELD(bikes[i].dailyDistance);
        PACEROW_COMPARE_FIELD(bikes[i].totalDistance);
        PACEROW_COMPARE_FIELD(bikes[i].bikeParamWord);
        PACEROW_COMPARE_FIELD(bikes[i].bikeParamByte);
        PACEROW_COMPARE_FIELD(bikes[i].bikeFlagA);
        PACEROW_COMPARE_FIELD(bikes[i].bikeAuxWord);
        PACEROW_COMPARE_FIELD(bikes[i].bikeAuxFlag);
        PACEROW_COMPARE_FIELD(bikes[i].bikeExtraByte);
        PACEROW_COMPARE_FIELD(bikes[i].bikeFlagB);
        PACEROW_COMPARE_FIELD(bikes[i].bikeFlagC);
        PACEROW_COMPARE_FIELD(bikes[i].altGain);
        PACEROW_COMPARE_FIELD(bikes[i].altLoss);
        PACEROW_COMPARE_FIELD(bikes[i].maxAlt);
        PACEROW_COMPARE_FIELD(bikes[i].rideTimeSec);
        PACEROW_COMPARE_FIELD(bikes[i].rideTimeMin);
        PACEROW_COMPARE_FIELD(bikes[i].rideTimeHour);
        PACEROW_COMPARE_FIELD(bikes[i].avgSpeed);
        PACEROW_COMPARE_FIELD(bikes[i].maxSpeed);
        PACEROW_COMPARE_FIELD(bikes[i].avgCadence);
        PACEROW_COMPARE_FIELD(bikes[i].maxCadence);
    }
}

#undef PACEROW_COMPARE_FIELD
