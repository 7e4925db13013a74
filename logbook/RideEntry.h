// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "logbook/logbook_global.h"

#include <QDate>
#include <QDateTime>
#include <QString>

#include <array>
#include <optional>

class DeviceModel;
class ModelData;

/// The values of a ride that the CSV log carries, in its column order, in the record's metric
/// units: millimetres, seconds, tenths of km/h, metres, °C, percent, metres per hour.
enum class RideValue {
    RideTime,
    Distance,
    Kcal,
    AvgSpeed,
    MaxSpeed,
    AvgCadence,
    MaxCadence,
    MaxTemperature,
    MinTemperature,
    AvgHeartRate,
    MaxHeartRate,
    HrInZone,
    HrLowerZone,
    HrUpperZone,
    MaxAltitude,
    Ascent,
    Descent,
    AscentAvgGradient,
    AscentMaxGradient,
    DescentAvgGradient,
    DescentMaxGradient,
    AscentAvgVario,
    AscentMaxVario,
    DescentAvgVario,
    DescentMaxVario,
};
constexpr int RideValueCount = int(RideValue::DescentMaxVario) + 1;

/// One ride of the logbook: one device, bike and day.
struct LOGBOOK_EXPORT RideEntry
{
    enum class Source { Device, Csv };

    qint64 id = 0; ///< 0 until it is in the logbook
    /// Which bike computer it came from; empty for a ride imported from a log. The device tells
    /// no serial number, so its model stands for it.
    QString device;
    QDate date; ///< the device's date of the ride day
    int bike = 1; ///< 1 or 2
    QString model; ///< catalogue name; empty when not known
    QDateTime start; ///< invalid until a start was chosen
    std::array<qint64, RideValueCount> values{};
    bool hasAltitude = true; ///< whether the model delivers the altitude group
    int unitSystem = 0; ///< the device's display units: 0 metric, 1 imperial
    std::optional<quint64> odometer; ///< the bike's total distance at the read, mm
    Source source = Source::Device;
    bool edited = false; ///< values corrected by the user before the export
    QString note;
    QDateTime recordedAt; ///< UTC
    QDateTime changedAt; ///< UTC

    qint64 value(RideValue which) const { return values[std::size_t(which)]; }
    void setValue(RideValue which, qint64 v) { values[std::size_t(which)] = v; }

    /// The column that keeps a value.
    static const char *columnName(RideValue which);
    /// What stands for a device in the logbook.
    static QString deviceKey(const DeviceModel &model);

    /// Bike index `bikeIndex` (0 or 1) of an identified device's record, on the device's date.
    static RideEntry fromRecord(const ModelData &record, int bikeIndex);
    /// A record of `model` that holds this ride as its bike, for the exporters.
    ModelData toRecord(const DeviceModel *model) const;
};
