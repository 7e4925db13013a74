// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/velotool/RideReport.h"

#include "linkhub/ModelData.h"
#include "logbook/DisplayUnits.h"

#include <cmath>

namespace {

ReportEntry number(const QString &key, const QString &label, double value, int decimals, const QString &unit)
{
    const double scale = std::pow(10.0, decimals);
    return {key, label, QString::number(value, 'f', decimals), unit, std::round(value * scale) / scale};
}

ReportEntry integer(const QString &key, const QString &label, qint64 value, const QString &unit = QString())
{
    return {key, label, QString::number(value), unit, value};
}

ReportEntry text(const QString &key, const QString &label, const QString &shown, const QJsonValue &json)
{
    return {key, label, shown, QString(), json};
}

QString twoDigits(int value)
{
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

// Hours are not wrapped at 24: a day's ride time is a duration, not a time of day.
ReportEntry duration(const QString &key, const QString &label, int hours, int minutes, int seconds)
{
    const QString shown = twoDigits(hours) + QLatin1Char(':') + twoDigits(minutes) + QLatin1Char(':') + twoDigits(seconds);
    return text(key, label, shown, shown);
}

ReportEntry clock(const ModelData &record)
{
    const QString time = twoDigits(record.hour) + QLatin1Char(':') + twoDigits(record.minute) + QLatin1Char(':')
        + twoDigits(record.second);
    // A model without a date (month 0) keeps only the time of day.
    if (record.month == 0)
        return text(QStringLiteral("clock"), RideReport::tr("Device clock"), time, time);
    const QString date = QString::number(2000 + record.year) + QLatin1Char('-') + twoDigits(record.month)
        + QLatin1Char('-') + twoDigits(record.day);
    return text(QStringLiteral("clock"), RideReport::tr("Device clock"), date + QLatin1Char(' ') + time,
                date + QLatin1Char('T') + time);
}

QString hexId(int id)
{
    return QStringLiteral("0x") + QStringLiteral("%1").arg(id, 2, 16, QLatin1Char('0'));
}

QList<ReportEntry> unitEntries(const DisplayUnits &units)
{
    return {
        text(QStringLiteral("system"), RideReport::tr("Units"), units.systemName(),
             units.isMetric() ? QStringLiteral("metric") : QStringLiteral("imperial")),
        text(QStringLiteral("distance"), RideReport::tr("Distance"), units.distanceUnit(), units.distanceUnit()),
        text(QStringLiteral("speed"), RideReport::tr("Speed"), units.speedUnit(), units.speedUnit()),
        text(QStringLiteral("altitude"), RideReport::tr("Altitude"), units.altitudeUnit(), units.altitudeUnit()),
        text(QStringLiteral("temperature"), RideReport::tr("Temperature"), units.temperatureUnit(),
             units.temperatureUnit()),
    };
}

ReportGroup bikeGroup(const ModelData &record, int index, const DisplayUnits &units)
{
    const Bike &bike = record.bikes[index];
    ReportGroup group{QStringLiteral("bike%1").arg(index + 1), RideReport::tr("Bike %1").arg(index + 1), {}};
    group.entries << number(QStringLiteral("distance"), RideReport::tr("Distance (daily)"),
                            units.distance(bike.dailyDistance), 3, units.distanceUnit())
                  << duration(QStringLiteral("rideTime"), RideReport::tr("Ride time"), bike.rideTimeHour,
                              bike.rideTimeMin, bike.rideTimeSec)
                  << number(QStringLiteral("avgSpeed"), RideReport::tr("Average speed"), units.speed(bike.avgSpeed), 1,
                            units.speedUnit())
                  << number(QStringLiteral("maxSpeed"), RideReport::tr("Maximum speed"), units.speed(bike.maxSpeed), 1,
                            units.speedUnit())
                  << integer(QStringLiteral("avgCadence"), RideReport::tr("Average cadence"), bike.avgCadence,
                             RideReport::tr("rpm"))
                  << integer(QStringLiteral("maxCadence"), RideReport::tr("Maximum cadence"), bike.maxCadence,
                             RideReport::tr("rpm"));
    if (record.deviceModel->has(DeviceModel::AltitudeValues)) {
        group.entries << number(QStringLiteral("altGain"), RideReport::tr("Altitude gain"), units.altitude(bike.altGain),
                                1, units.altitudeUnit())
                      << number(QStringLiteral("altLoss"), RideReport::tr("Altitude loss"), units.altitude(bike.altLoss),
                                1, units.altitudeUnit())
                      << number(QStringLiteral("maxAlt"), RideReport::tr("Maximum altitude"),
                                units.altitude(bike.maxAlt), 1, units.altitudeUnit());
    }
    group.entries << number(QStringLiteral("odometer"), RideReport::tr("Odometer"), units.distance(bike.totalDistance),
                            1, units.distanceUnit());
    return group;
}

ReportGroup altitudeGroup(const ModelData &record, const DisplayUnits &units)
{
    const QString percent = QStringLiteral("%");
    const QString metresPerHour = RideReport::tr("m/h");
    const int temperatureDecimals = units.isMetric() ? 0 : 1;
    ReportGroup group{QStringLiteral("altitude"), RideReport::tr("Altitude and temperature"), {}};
    group.entries << number(QStringLiteral("gain"), RideReport::tr("Altitude gain"), units.altitude(record.dailyAltGain),
                            1, units.altitudeUnit())
                  << number(QStringLiteral("loss"), RideReport::tr("Altitude loss"), units.altitude(record.dailyAltLoss),
                            1, units.altitudeUnit())
                  << number(QStringLiteral("max"), RideReport::tr("Maximum altitude"),
                            units.altitude(record.dailyMaxAlt), 1, units.altitudeUnit())
                  << integer(QStringLiteral("ascentAvgGradient"), RideReport::tr("Ascent gradient, average"),
                             record.ascentAvgGradient, percent)
                  << integer(QStringLiteral("ascentMaxGradient"), RideReport::tr("Ascent gradient, maximum"),
                             record.ascentMaxGradient, percent)
                  << integer(QStringLiteral("descentAvgGradient"), RideReport::tr("Descent gradient, average"),
                             record.descentAvgGradient, percent)
                  << integer(QStringLiteral("descentMaxGradient"), RideReport::tr("Descent gradient, maximum"),
                             record.descentMaxGradient, percent)
                  << integer(QStringLiteral("ascentAvgVario"), RideReport::tr("Ascent rate, average"),
                             record.ascentAvgVario, metresPerHour)
                  << integer(QStringLiteral("ascentMaxVario"), RideReport::tr("Ascent rate, maximum"),
                             record.ascentMaxVario, metresPerHour)
                  << integer(QStringLiteral("descentAvgVario"), RideReport::tr("Descent rate, average"),
                             record.descentAvgVario, metresPerHour)
                  << integer(QStringLiteral("descentMaxVario"), RideReport::tr("Descent rate, maximum"),
                             record.descentMaxVario, metresPerHour)
                  << number(QStringLiteral("maxTemperature"), RideReport::tr("Temperature, maximum"),
                            units.temperature(record.dailyMaxTemp), temperatureDecimals, units.temperatureUnit())
                  << number(QStringLiteral("minTemperature"), RideReport::tr("Temperature, minimum"),
                            units.temperature(record.dailyMinTemp), temperatureDecimals, units.temperatureUnit());
    return group;
}

ReportGroup heartRateGroup(const ModelData &record)
{
    const QString bpm = RideReport::tr("bpm");
    ReportGroup group{QStringLiteral("heartRate"), RideReport::tr("Heart rate and energy"), {}};
    group.entries << integer(QStringLiteral("average"), RideReport::tr("Heart rate, average"), record.avgHeartRate, bpm)
                  << integer(QStringLiteral("maximum"), RideReport::tr("Heart rate, maximum"), record.maxHeartRate, bpm)
                  << duration(QStringLiteral("belowZone"), RideReport::tr("Time below zone"), record.hrLowerZoneHour,
                              record.hrLowerZoneMin, record.hrLowerZoneSec)
                  << duration(QStringLiteral("inZone"), RideReport::tr("Time in zone"), record.hrInZoneHour,
                              record.hrInZoneMin, record.hrInZoneSec)
                  << duration(QStringLiteral("aboveZone"), RideReport::tr("Time above zone"), record.hrUpperZoneHour,
                              record.hrUpperZoneMin, record.hrUpperZoneSec)
                  << integer(QStringLiteral("calories"), RideReport::tr("Energy"), record.dailyCalories,
                             RideReport::tr("kcal"));
    return group;
}

} // namespace

RideReport RideReport::ofDevice(const ModelData &record)
{
    const DeviceModel &model = *record.deviceModel;
    const DisplayUnits units = DisplayUnits::forSystem(record.unitSystem);
    RideReport report;
    report.units = unitEntries(units);

    ReportGroup device{QStringLiteral("device"), tr("Device"), {}};
    device.entries << text(QStringLiteral("model"), tr("Model"), model.name, model.name)
                   << text(QStringLiteral("modelId"), tr("Model id"), hexId(model.id), int(model.id))
                   << integer(QStringLiteral("firmware"), tr("Firmware"), record.firmwareVersion)
                   << text(QStringLiteral("units"), tr("Units"), units.systemName(),
                           units.isMetric() ? QStringLiteral("metric") : QStringLiteral("imperial"))
                   << clock(record)
                   << integer(QStringLiteral("currentBike"), tr("Current bike"), record.currentBike + 1);
    report.groups << device;

    const int bikes = model.has(DeviceModel::SecondBike) ? 2 : 1;
    for (int index = 0; index < bikes; ++index)
        report.groups << bikeGroup(record, index, units);
    if (model.has(DeviceModel::AltitudeValues))
        report.groups << altitudeGroup(record, units);
    if (model.has(DeviceModel::HeartRateValues))
        report.groups << heartRateGroup(record);
    return report;
}

RideReport RideReport::ofRide(const ModelData &record, int bikeIndex, const QDateTime &rideStart)
{
    const DisplayUnits units = DisplayUnits::forSystem(record.unitSystem);
    const Bike &bike = record.bikes[bikeIndex];
    RideReport report;
    report.units = unitEntries(units);

    // From the wall-clock parts: a time the switch to summer time skips is still the time chosen.
    const QString start = rideStart.date().toString(QStringLiteral("yyyy-MM-dd")) + QLatin1Char(' ')
        + rideStart.time().toString(QStringLiteral("HH:mm"));
    ReportGroup ride{QStringLiteral("ride"),
                     tr("Ride of bike %1 on the %2, started %3").arg(bikeIndex + 1).arg(record.deviceModel->name, start),
                     {}};
    ride.entries << number(QStringLiteral("distance"), tr("Distance"), units.distance(bike.dailyDistance), 3,
                           units.distanceUnit())
                 << duration(QStringLiteral("rideTime"), tr("Ride time"), bike.rideTimeHour, bike.rideTimeMin,
                             bike.rideTimeSec)
                 << number(QStringLiteral("avgSpeed"), tr("Average speed"), units.speed(bike.avgSpeed), 1,
                           units.speedUnit())
                 << number(QStringLiteral("maxSpeed"), tr("Maximum speed"), units.speed(bike.maxSpeed), 1,
                           units.speedUnit());
    report.groups << ride;
    return report;
}
