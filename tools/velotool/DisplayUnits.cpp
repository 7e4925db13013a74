#include "tools/velotool/DisplayUnits.h"

namespace {

constexpr double KilometresPerMillimetre = 1e-06;
constexpr double MilesPerMillimetre = 6.21371192237334e-07;
constexpr double MphPerKmh = 0.621371192237334;
constexpr double FeetPerMetre = 3.2808399;

} // namespace

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
    return double(millimetres) * (m_metric ? KilometresPerMillimetre : MilesPerMillimetre);
}

double DisplayUnits::speed(quint16 tenthsKmh) const
{
    return tenthsKmh / 10.0 * (m_metric ? 1.0 : MphPerKmh);
}

double DisplayUnits::altitude(quint32 metres) const
{
    return double(metres) * (m_metric ? 1.0 : FeetPerMetre);
}

double DisplayUnits::temperature(qint8 celsius) const
{
    return m_metric ? double(celsius) : celsius * 9.0 / 5.0 + 32.0;
}
