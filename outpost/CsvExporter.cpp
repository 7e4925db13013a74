// SPDX-License-Identifier: GPL-3.0-or-later
#include "outpost/CsvExporter.h"

#include "linkhub/UnitFactors.h"
#include "outpost/LockedAppend.h"
#include "outpost/RideSelection.h"

#include <QCoreApplication>
#include <QLocale>
#include <QStringEncoder>
#include <QStringList>
#include <QTextStream>
#include <QTime>

#include <iterator>

namespace {

const char *const Headings[] = {
    QT_TRANSLATE_NOOP("QObject", "Unit"),
    QT_TRANSLATE_NOOP("QObject", "Date"),
    QT_TRANSLATE_NOOP("QObject", "Ride time"),
    QT_TRANSLATE_NOOP("QObject", "Total Distance"),
    QT_TRANSLATE_NOOP("QObject", "Total kcal"),
    QT_TRANSLATE_NOOP("QObject", "Avg. Speed"),
    QT_TRANSLATE_NOOP("QObject", "Max. Speed"),
    QT_TRANSLATE_NOOP("QObject", "Avg. Cadence"),
    QT_TRANSLATE_NOOP("QObject", "Max. Cadence"),
    QT_TRANSLATE_NOOP("QObject", "Daily max. Temp."),
    QT_TRANSLATE_NOOP("QObject", "Daily min. Temp."),
    QT_TRANSLATE_NOOP("QObject", "Avg. heart rate (bpm)"),
    QT_TRANSLATE_NOOP("QObject", "Max. heart rate (bpm)"),
    QT_TRANSLATE_NOOP("QObject", "Time in heart rate zone"),
    QT_TRANSLATE_NOOP("QObject", "Time lower heart rate zone"),
    QT_TRANSLATE_NOOP("QObject", "Time upper heart rate zone"),
    QT_TRANSLATE_NOOP("QObject", "Max. altitude"),
    QT_TRANSLATE_NOOP("QObject", "Alt. Gain"),
    QT_TRANSLATE_NOOP("QObject", "Alt. loss"),
    QT_TRANSLATE_NOOP("QObject", "Avg. Asc. Gradient"),
    QT_TRANSLATE_NOOP("QObject", "Max. Asc. Gradient"),
    QT_TRANSLATE_NOOP("QObject", "Avg. Desc. Gradient"),
    QT_TRANSLATE_NOOP("QObject", "Max. Desc. Gradient"),
    QT_TRANSLATE_NOOP("QObject", "Avg. Asc. Vario"),
    QT_TRANSLATE_NOOP("QObject", "Max. Asc. Vario"),
    QT_TRANSLATE_NOOP("QObject", "Avg. Desc. Vario"),
    QT_TRANSLATE_NOOP("QObject", "Max. Desc. Vario"),
};

const QString Separator = QStringLiteral("; ");
const QString NotAvailable = QStringLiteral("-");

// What the log has always used for Qt::TextDate; Qt 6 no longer gives it in the system language.
const QString DateFormat = QStringLiteral("ddd MMM d hh:mm:ss yyyy");
const QString TimeFormat = QStringLiteral("hh:mm:ss");

struct Units
{
    QString name;
    double distancePerMillimetre;
    double speedPerKmh;
    double altitudePerMetre;
    bool fahrenheit;
};

const Units Metric{QStringLiteral("km/kmph/meter/Celsius"), UnitFactors::metric().distanceDisplay,
                   UnitFactors::metric().speedDisplay, UnitFactors::metric().altitudeDisplay, false};
const Units Imperial{QStringLiteral("miles/mph/feet/Fahrenheit"), UnitFactors::imperial().distanceDisplay,
                     UnitFactors::imperial().speedDisplay, UnitFactors::imperial().altitudeDisplay, true};

QString headingLine()
{
    QStringList headings;
    for (const char *heading : Headings)
        headings << QCoreApplication::translate("QObject", heading);
    return headings.join(Separator);
}

// Invalid combinations (24 hours, 60 minutes) give an empty column, as an invalid time prints.
QString duration(quint8 hours, quint8 minutes, quint8 seconds)
{
    return QTime(hours, minutes, seconds).toString(TimeFormat);
}

QString fixed(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

// Temperatures keep the text stream's own number format: 23 prints as "23", 73.4 as "73.4".
QString temperature(qint8 celsius, const Units &units)
{
    const double value = units.fahrenheit ? celsius * 9.0 / 5.0 + 32.0 : celsius;
    QString text;
    QTextStream(&text) << value;
    return text;
}

QString dataLine(const RideSelection &ride, const QDateTime &rideStart)
{
    const ModelData &record = ride.record();
    const Bike &bike = ride.bike();
    const Units &units = record.unitSystem == 0 ? Metric : Imperial;
    const bool altitude = ride.hasAltitudeGroup();

    QStringList columns;
    // Formatted from the wall-clock fields: a clock time skipped by the switch to summer time is an
    // invalid local date-time, which would print as nothing.
    const QDateTime wallClock(rideStart.date(), rideStart.time(), Qt::UTC);
    columns << units.name << QLocale::system().toString(wallClock, DateFormat)
            << duration(bike.rideTimeHour, bike.rideTimeMin, bike.rideTimeSec)
            << fixed(bike.dailyDistance * units.distancePerMillimetre, 3) << QString::number(record.dailyCalories)
            << fixed(bike.avgSpeed / 10.0 * units.speedPerKmh, 1) << fixed(bike.maxSpeed / 10.0 * units.speedPerKmh, 1)
            << QString::number(bike.avgCadence) << QString::number(bike.maxCadence)
            << (altitude ? temperature(record.dailyMaxTemp, units) : NotAvailable)
            << (altitude ? temperature(record.dailyMinTemp, units) : NotAvailable)
            << QString::number(record.avgHeartRate) << QString::number(record.maxHeartRate)
            << duration(record.hrInZoneHour, record.hrInZoneMin, record.hrInZoneSec)
            << duration(record.hrLowerZoneHour, record.hrLowerZoneMin, record.hrLowerZoneSec)
            << duration(record.hrUpperZoneHour, record.hrUpperZoneMin, record.hrUpperZoneSec);
    if (altitude) {
        columns << fixed(bike.maxAlt * units.altitudePerMetre, 1) << fixed(bike.altGain * units.altitudePerMetre, 1)
                << fixed(bike.altLoss * units.altitudePerMetre, 1) << QString::number(record.ascentAvgGradient)
                << QString::number(record.ascentMaxGradient) << QString::number(record.descentAvgGradient)
                << QString::number(record.descentMaxGradient) << QString::number(record.ascentAvgVario)
                << QString::number(record.ascentMaxVario) << QString::number(record.descentAvgVario)
                << QString::number(record.descentMaxVario);
    } else {
        for (int i = 0; i < 11; ++i)
            columns << NotAvailable;
    }
    Q_ASSERT(columns.size() == static_cast<qsizetype>(std::size(Headings)));
    return columns.join(Separator);
}

} // namespace

bool CsvExporter::exportToCsv(const QString &fileName, ModelData *modelData, int bike, const QDateTime &rideStart)
{
    return exportToCsv(fileName, modelData, bike, rideStart, nullptr);
}

bool CsvExporter::exportToCsv(const QString &fileName, ModelData *modelData, int bike, const QDateTime &rideStart,
                              QString *reason)
{
    const std::optional<RideSelection> ride = RideSelection::select(modelData, bike);
    if (!ride)
        return false;

    // Decided under the lock: a log another program is creating at the same moment gets its
    // headings once, from whichever append comes first.
    const auto lines = [&](qint64 sizeBefore) {
        // Each line starts with the line feed, so the file never ends with one.
        const QString text = (sizeBefore == 0 ? headingLine() : QString()) + QLatin1Char('\n')
            + dataLine(*ride, rideStart);
        QStringEncoder toSystem(QStringConverter::System);
        return QByteArray(toSystem(text));
    };
    switch (LockedAppend::append(fileName, lines, reason)) {
    case LockedAppend::Result::Appended:
        return true;
    case LockedAppend::Result::OpenFailed:
        qDebug("could not open file!");
        return false;
    case LockedAppend::Result::WriteFailed:
        qDebug("could not write file!");
        return false;
    }
    return false;
}
