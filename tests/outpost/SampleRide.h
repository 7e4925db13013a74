// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkhub/ModelData.h"

/// Fills a record with a day whose values exercise the exporters' conversions; bike 2 differs
/// from bike 1 in every per-bike value.
inline void fillSampleRide(ModelData &record)
{
    Bike &first = record.bikes[0];
    first.dailyDistance = 12345678;
    first.rideTimeHour = 1;
    first.rideTimeMin = 2;
    first.rideTimeSec = 3;
    first.avgSpeed = 255;
    first.maxSpeed = 523;
    first.avgCadence = 85;
    first.maxCadence = 300;
    first.altGain = 70000;
    first.altLoss = 850;
    first.maxAlt = 0;

    Bike &second = record.bikes[1];
    second.dailyDistance = 5000000;
    second.rideTimeHour = 0;
    second.rideTimeMin = 30;
    second.rideTimeSec = 0;
    second.avgSpeed = 180;
    second.maxSpeed = 360;
    second.avgCadence = 70;
    second.maxCadence = 110;
    second.altGain = 120;
    second.altLoss = 130;
    second.maxAlt = 1234;

    record.dailyCalories = 70001;
    record.avgHeartRate = 140;
    record.maxHeartRate = 185;
    record.hrInZoneHour = 0;
    record.hrInZoneMin = 45;
    record.hrInZoneSec = 30;
    record.hrLowerZoneHour = 0;
    record.hrLowerZoneMin = 20;
    record.hrLowerZoneSec = 5;
    record.hrUpperZoneHour = 0;
    record.hrUpperZoneMin = 10;
    record.hrUpperZoneSec = 0;
    record.dailyMaxTemp = 23;
    record.dailyMinTemp = -5;
    record.ascentAvgGradient = 4;
    record.ascentMaxGradient = 12;
    record.descentAvgGradient = 6;
    record.descentMaxGradient = 15;
    record.ascentAvgVario = 1800;
    record.ascentMaxVario = 3600;
    record.descentAvgVario = 900;
    record.descentMaxVario = 5400;
}
