// SPDX-License-Identifier: GPL-3.0-or-later
#include "logbook/RideEntry.h"

#include "linkhub/ModelData.h"

namespace {

const char *const ColumnNames[RideValueCount] = {
    "ride_time",         "distance",           "kcal",
    "avg_speed",         "max_speed",          "avg_cadence",
    "max_cadence",       "max_temperature",    "min_temperature",
    "avg_heart_rate",    "max_heart_rate",     "hr_in_zone",
    "hr_lower_zone",     "hr_upper_zone",      "max_altitude",
    "ascent",            "descent",            "ascent_avg_gradient",
    "ascent_max_gradient", "descent_avg_gradient", "descent_max_gradient",
    "ascent_avg_vario",  "ascent_max_vario",   "descent_avg_vario",
    "descent_max_vario",
};

qint64 seconds(quint8 hours, quint8 minutes, quint8 secs)
{
    return hours * 3600 + minutes * 60 + secs;
}

// A day's time fits the record's hour, minute and second bytes; longer ones are cut at 255 hours.
void split(qint64 total, quint8 &hours, quint8 &minutes, quint8 &secs)
{
    hours = quint8(qMin<qint64>(total / 3600, 255));
    minutes = quint8(total / 60 % 60);
    secs = quint8(total % 60);
}

} // namespace

const char *RideEntry::columnName(RideValue which)
{
    return ColumnNames[int(which)];
}

QString RideEntry::deviceKey(const DeviceModel &model)
{
    return QStringLiteral("model 0x%1").arg(model.id, 2, 16, QLatin1Char('0'));
}

RideEntry RideEntry::fromRecord(const ModelData &record, int bikeIndex)
{
    const Bike &bike = record.bikes[bikeIndex];
    RideEntry entry;
    entry.device = deviceKey(*record.deviceModel);
    entry.date = record.getDateTime().date();
    entry.bike = bikeIndex + 1;
    entry.model = record.deviceModel->name;
    entry.hasAltitude = record.deviceModel->has(DeviceModel::AltitudeValues);
    entry.unitSystem = record.unitSystem == 0 ? 0 : 1;
    entry.odometer = bike.totalDistance;
    entry.values = {seconds(bike.rideTimeHour, bike.rideTimeMin, bike.rideTimeSec),
                    bike.dailyDistance,
                    record.dailyCalories,
                    bike.avgSpeed,
                    bike.maxSpeed,
                    bike.avgCadence,
                    bike.maxCadence,
                    record.dailyMaxTemp,
                    record.dailyMinTemp,
                    record.avgHeartRate,
                    record.maxHeartRate,
                    seconds(record.hrInZoneHour, record.hrInZoneMin, record.hrInZoneSec),
                    seconds(record.hrLowerZoneHour, record.hrLowerZoneMin, record.hrLowerZoneSec),
                    seconds(record.hrUpperZoneHour, record.hrUpperZoneMin, record.hrUpperZoneSec),
                    bike.maxAlt,
                    bike.altGain,
                    bike.altLoss,
                    record.ascentAvgGradient,
                    record.ascentMaxGradient,
                    record.descentAvgGradient,
                    record.descentMaxGradient,
                    record.ascentAvgVario,
                    record.ascentMaxVario,
                    record.descentAvgVario,
                    record.descentMaxVario};
    return entry;
}

ModelData RideEntry::toRecord(const DeviceModel *model) const
{
    ModelData record(model);
    record.year = quint8(date.year() - 2000);
    record.month = quint8(date.month());
    record.day = quint8(date.day());
    record.unitSystem = unitSystem;
    Bike &b = record.bikes[bike - 1];
    b.dailyDistance = quint32(value(RideValue::Distance));
    b.totalDistance = odometer.value_or(0);
    split(value(RideValue::RideTime), b.rideTimeHour, b.rideTimeMin, b.rideTimeSec);
    record.dailyCalories = quint32(value(RideValue::Kcal));
    b.avgSpeed = quint16(value(RideValue::AvgSpeed));
    b.maxSpeed = quint16(value(RideValue::MaxSpeed));
    b.avgCadence = quint16(value(RideValue::AvgCadence));
    b.maxCadence = quint16(value(RideValue::MaxCadence));
    record.dailyMaxTemp = qint8(value(RideValue::MaxTemperature));
    record.dailyMinTemp = qint8(value(RideValue::MinTemperature));
    record.avgHeartRate = quint8(value(RideValue::AvgHeartRate));
    record.maxHeartRate = quint8(value(RideValue::MaxHeartRate));
    split(value(RideValue::HrInZone), record.hrInZoneHour, record.hrInZoneMin, record.hrInZoneSec);
    split(value(RideValue::HrLowerZone), record.hrLowerZoneHour, record.hrLowerZoneMin, record.hrLowerZoneSec);
    split(value(RideValue::HrUpperZone), record.hrUpperZoneHour, record.hrUpperZoneMin, record.hrUpperZoneSec);
    b.maxAlt = quint16(value(RideValue::MaxAltitude));
    b.altGain = quint32(value(RideValue::Ascent));
    b.altLoss = quint32(value(RideValue::Descent));
    record.ascentAvgGradient = quint16(value(RideValue::AscentAvgGradient));
    record.ascentMaxGradient = quint16(value(RideValue::AscentMaxGradient));
    record.descentAvgGradient = quint16(value(RideValue::DescentAvgGradient));
    record.descentMaxGradient = quint16(value(RideValue::DescentMaxGradient));
    record.ascentAvgVario = quint16(value(RideValue::AscentAvgVario));
    record.ascentMaxVario = quint16(value(RideValue::AscentMaxVario));
    record.descentAvgVario = quint16(value(RideValue::DescentAvgVario));
    record.descentMaxVario = quint16(value(RideValue::DescentMaxVario));
    return record;
}
