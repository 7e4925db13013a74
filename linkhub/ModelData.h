// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkhub/Bike.h"
#include "linkhub/DeviceModel.h"
#include "linkhub/ModelDataUpdateBits.h"

#include <QDateTime>
#include <QMetaType>

/// Everything read from the connected bike computer, in metric units.
/// The device link fills it; the wizard edits it; the exporters read it.
/// Header-only so that the export library can use it without linking the device link.
class ModelData
{
public:
    explicit ModelData(const DeviceModel *model) : deviceModel(model) {}

    /// Exists only for the meta-type system; a record always belongs to a model.
    ModelData() { throw "Shut never be called!"; }

    /// The device clock as local time; with no device date (month 0) today's date is used.
    QDateTime getDateTime() const
    {
        const QDate date = month == 0 ? QDate::currentDate() : QDate(2000 + year, month, day);
        return QDateTime(date, QTime(hour, minute, second, 0), Qt::LocalTime);
    }

    /// Stores a date-time into the clock fields and stamps receivedAt with the PC's current time.
    void setDateTime(const QDateTime &dateTime)
    {
        const QDate date = dateTime.date();
        const QTime time = dateTime.time();
        year = static_cast<quint8>(date.year() - 2000);
        month = static_cast<quint8>(date.month());
        day = static_cast<quint8>(date.day());
        hour = static_cast<quint8>(time.hour());
        minute = static_cast<quint8>(time.minute());
        second = static_cast<quint8>(time.second());
        receivedAt = QDateTime::currentDateTime();
    }

    const DeviceModel *deviceModel = nullptr; ///< shared catalogue row, not owned
    quint8 modelOption = 0; ///< model 0x51 only
    quint16 altitudeParamA = 0;
    quint16 altitudeParamB = 0;
    bool altitudeFlagA = false;
    bool altitudeFlagB = false;
    bool altitudeFlagC = false;
    qint8 dailyMaxTemp = 0; ///< °C
    qint8 dailyMinTemp = 0; ///< °C
    quint32 dailyAltGain = 0; ///< m
    quint32 dailyAltLoss = 0; ///< m
    quint16 dailyMaxAlt = 0; ///< m
    quint16 ascentAvgGradient = 0; ///< %
    quint16 ascentMaxGradient = 0; ///< %
    quint16 descentAvgGradient = 0; ///< %
    quint16 descentMaxGradient = 0; ///< %
    quint16 ascentAvgVario = 0; ///< m/h
    quint16 ascentMaxVario = 0; ///< m/h
    quint16 descentAvgVario = 0; ///< m/h
    quint16 descentMaxVario = 0; ///< m/h
    int currentBike = 0; ///< 0 = bike 1, 1 = bike 2
    quint8 heartRateParamA = 0;
    quint16 heartRateParamWord = 0;
    quint8 heartRateParamB = 0;
    quint8 heartRateParamC = 0;
    quint8 heartRateParamD = 0;
    quint8 heartRateParamE = 0;
    quint8 heartRateFlagA = 0;
    bool heartRateFlagB = false;
    quint8 avgHeartRate = 0; ///< bpm
    quint8 maxHeartRate = 0; ///< bpm
    quint8 hrLowerZoneSec = 0;
    quint8 hrLowerZoneMin = 0;
    quint8 hrLowerZoneHour = 0;
    quint8 hrInZoneSec = 0;
    quint8 hrInZoneMin = 0;
    quint8 hrInZoneHour = 0;
    quint8 hrUpperZoneSec = 0;
    quint8 hrUpperZoneMin = 0;
    quint8 hrUpperZoneHour = 0;
    quint32 dailyCalories = 0; ///< kcal
    quint8 year = 0; ///< years since 2000
    quint8 month = 0; ///< 1..12; 0 = no device date known
    quint8 day = 0;
    quint8 hour = 0;
    quint8 minute = 0;
    quint8 second = 0;
    bool clockFlag = false;
    QDateTime receivedAt; ///< PC time when the clock last arrived or was set
    Bike bikes[2]; ///< index 0 = bike 1
    int unitSystem = 0; ///< device display units: 0 metric, 1 imperial
    quint8 firmwareVersion = 0; ///< decimal (the device sends BCD)
};

Q_DECLARE_METATYPE(ModelData)
