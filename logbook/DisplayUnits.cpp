// SPDX-License-Identifier: GPL-3.0-or-later
#include "logbook/DisplayUnits.h"

#include "linkhub/UnitFactors.h"

const UnitFactors &DisplayUnits::factors() const
{
    return m_metric ? UnitFactors::metric() : UnitFactors::imperial();
}

DisplayUnits DisplayUnits::forSystem(int unitSystem)
{
    return DisplayUnits(unitSystem == 0);
}

QString DisplayUnits::systemName() const
{
    return m_metric ? tr("metric") : tr("imperial");
}

QString DisplayUnits::distanceUnit() const
{
    return m_metric ? tr("km") : tr("mi");
}

QString DisplayUnits::speedUnit() const
{
    return m_metric ? tr("km/h") : tr("mph");
}

QString DisplayUnits::altitudeUnit() const
{
    return m_metric ? tr("m") : tr("ft");
}

QString DisplayUnits::temperatureUnit() const
{
    return m_metric ? tr("°C") : tr("°F");
}

double DisplayUnits::distance(quint64 millimetres) const
{
    return double(millimetres) * factors().distanceDisplay;
}

double DisplayUnits::speed(quint16 tenthsKmh) const
{
    return tenthsKmh / 10.0 * factors().speedDisplay;
}

double DisplayUnits::altitude(quint32 metres) const
{
    return double(metres) * factors().altitudeDisplay;
}

double DisplayUnits::temperature(qint8 celsius) const
{
    return m_metric ? double(celsius) : celsius * 9.0 / 5.0 + 32.0;
}
