// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "logbook/logbook_global.h"

#include <QCoreApplication>
#include <QString>

struct UnitFactors;

/// The units a bike computer shows its values in, and the conversions from the record's metric units.
/// The factors are the device's own, so that the figures match the device's display.
class LOGBOOK_EXPORT DisplayUnits
{
    Q_DECLARE_TR_FUNCTIONS(DisplayUnits)

public:
    /// The units of a record's unitSystem: 0 metric, anything else imperial.
    static DisplayUnits forSystem(int unitSystem);

    bool isMetric() const { return m_metric; }
    QString systemName() const;
    QString distanceUnit() const;
    QString speedUnit() const;
    QString altitudeUnit() const;
    QString temperatureUnit() const;

    /// From millimetres to kilometres or miles.
    double distance(quint64 millimetres) const;
    /// From tenths of km/h to km/h or mph.
    double speed(quint16 tenthsKmh) const;
    /// From metres to metres or feet.
    double altitude(quint32 metres) const;
    /// From °C to °C or °F.
    double temperature(qint8 celsius) const;

private:
    explicit DisplayUnits(bool metric) : m_metric(metric) {}
    const UnitFactors &factors() const;

    bool m_metric;
};
