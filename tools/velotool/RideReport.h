// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QDateTime>
#include <QJsonValue>
#include <QList>
#include <QString>

class ModelData;

/// One labelled value, already in the form the text output shows and the form JSON carries.
struct ReportEntry
{
    QString key; ///< JSON member name
    QString label;
    QString text; ///< the value as shown, without its unit
    QString unit; ///< empty for values without one
    QJsonValue json;
};

/// Values that belong together, such as those of one bike.
struct ReportGroup
{
    QString key; ///< JSON member name
    QString title;
    QList<ReportEntry> entries;
};

/// The values of a device record, grouped and labelled in the units the device shows.
/// Only the groups the model delivers are present.
class RideReport
{
    Q_DECLARE_TR_FUNCTIONS(RideReport)

public:
    /// Everything the record holds of the day: device, each bike, altitude, heart rate.
    static RideReport ofDevice(const ModelData &record);
    /// The ride an export wrote: the chosen bike's totals and the start chosen for it.
    static RideReport ofRide(const ModelData &record, int bikeIndex, const QDateTime &rideStart);

    QList<ReportGroup> groups;
    /// Unit of each kind of value, for readers of the JSON form.
    QList<ReportEntry> units;
};
