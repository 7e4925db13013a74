// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

/// One bike's values of the day inside a ModelData, in metric units.
struct Bike
{
    quint32 dailyDistance = 0; ///< mm
    quint64 totalDistance = 0; ///< odometer, mm
    quint16 bikeParamWord = 0;
    quint8 bikeParamByte = 0; ///< two-bike format only
    bool bikeFlagA = false; ///< two-bike format only
    quint16 bikeAuxWord = 0;
    bool bikeAuxFlag = false;
    quint8 bikeExtraByte = 0; ///< model 0x51 only
    bool bikeFlagB = false; ///< model 0x51 only
    bool bikeFlagC = false; ///< model 0x51 only
    quint32 altGain = 0; ///< m
    quint32 altLoss = 0; ///< m
    quint16 maxAlt = 0; ///< m
    quint8 rideTimeSec = 0;
    quint8 rideTimeMin = 0;
    quint8 rideTimeHour = 0;
    quint16 avgSpeed = 0; ///< 0.1 km/h
    quint16 maxSpeed = 0; ///< 0.1 km/h
    quint16 avgCadence = 0; ///< rpm
    quint16 maxCadence = 0; ///< rpm
};
