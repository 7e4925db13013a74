// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/velotool/LogbookPrinter.h"

#include "logbook/RideRecorder.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>

#include <algorithm>

namespace {

/// Columns of text; numbers are aligned to the right, words to the left.
class Table
{
public:
    Table(const QStringList &headings, const QList<bool> &rightAligned) : m_right(rightAligned) { m_rows << headings; }

    void add(const QStringList &row) { m_rows << row; }

    QString text() const
    {
        QList<qsizetype> widths(m_right.size(), 0);
        for (const QStringList &row : m_rows)
            for (qsizetype c = 0; c < row.size(); ++c)
                widths[c] = std::max(widths[c], row[c].size());
        QStringList lines;
        for (const QStringList &row : m_rows) {
            QStringList cells;
            for (qsizetype c = 0; c < row.size(); ++c)
                cells << (m_right[c] ? row[c].rightJustified(widths[c]) : row[c].leftJustified(widths[c]));
            QString line = cells.join(QStringLiteral("  "));
            while (line.endsWith(QLatin1Char(' ')))
                line.chop(1);
            lines << line;
        }
        return lines.join(QLatin1Char('\n')) + QLatin1Char('\n');
    }

private:
    QList<QStringList> m_rows;
    QList<bool> m_right;
};

QString clock(qint64 seconds)
{
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString number(double value, int decimals)
{
    return QString::number(value, 'f', decimals);
}

// The time of day, and the date as well when the start chosen is not on the ride's day.
QString startColumn(const RideEntry &ride)
{
    if (!ride.start.isValid())
        return QStringLiteral("-");
    return ride.start.toString(ride.start.date() == ride.date ? QStringLiteral("HH:mm") : QStringLiteral("yyyy-MM-dd HH:mm"));
}

double metres(qint64 millimetres)
{
    return millimetres / 1000.0;
}

} // namespace

QString LogbookPrinter::rideTable(const QList<RideEntry> &rides, const DisplayUnits &units)
{
    if (rides.isEmpty())
        return tr("No rides.\n");
    Table table({tr("ID"), tr("Date"), tr("Start"), tr("Bike"), tr("Model"), tr("Distance (%1)").arg(units.distanceUnit()),
                 tr("Ride time"), tr("Avg. speed (%1)").arg(units.speedUnit()), tr("Ascent (%1)").arg(units.altitudeUnit()),
                 tr("kcal"), tr("Source"), tr("Note")},
                {true, false, false, true, false, true, true, true, true, true, false, false});
    for (const RideEntry &ride : rides) {
        QString source = ride.source == RideEntry::Source::Csv ? tr("CSV log") : tr("device");
        if (ride.edited)
            source += tr(", corrected");
        table.add({QString::number(ride.id), ride.date.toString(Qt::ISODate),
                   startColumn(ride),
                   QString::number(ride.bike), ride.model.isEmpty() ? QStringLiteral("-") : ride.model,
                   number(units.distance(quint64(ride.value(RideValue::Distance))), 2),
                   clock(ride.value(RideValue::RideTime)),
                   number(units.speed(quint16(ride.value(RideValue::AvgSpeed))), 1),
                   number(units.altitude(quint32(ride.value(RideValue::Ascent))), 0),
                   QString::number(ride.value(RideValue::Kcal)), source, ride.note});
    }
    return table.text();
}

QString LogbookPrinter::totalsTable(const QList<PeriodTotal> &totals, const DisplayUnits &units)
{
    if (totals.isEmpty())
        return tr("No rides.\n");
    Table table({tr("Period"), tr("Rides"), tr("Distance (%1)").arg(units.distanceUnit()), tr("Ride time"),
                 tr("Ascent (%1)").arg(units.altitudeUnit()), tr("kcal")},
                {false, true, true, true, true, true});
    for (const PeriodTotal &total : totals)
        table.add({total.period, QString::number(total.rides), number(units.distance(quint64(total.distance)), 2),
                   clock(total.rideTime), number(double(total.ascent) * units.altitude(1), 0),
                   QString::number(total.kcal)});
    return table.text();
}

QString LogbookPrinter::ridesJson(const QList<RideEntry> &rides)
{
    QJsonArray array;
    for (const RideEntry &ride : rides) {
        const auto value = [&](RideValue which) { return ride.value(which); };
        array.append(QJsonObject{
            {"id", ride.id},
            {"date", ride.date.toString(Qt::ISODate)},
            {"start", ride.start.isValid() ? QJsonValue(RideRecorder::startText(ride.start)) : QJsonValue()},
            {"model", ride.model.isEmpty() ? QJsonValue() : QJsonValue(ride.model)},
            {"bike", ride.bike},
            {"distance", metres(value(RideValue::Distance))},
            {"rideTime", value(RideValue::RideTime)},
            {"avgSpeed", value(RideValue::AvgSpeed) / 10.0},
            {"maxSpeed", value(RideValue::MaxSpeed) / 10.0},
            {"ascent", value(RideValue::Ascent)},
            {"descent", value(RideValue::Descent)},
            {"kcal", value(RideValue::Kcal)},
            {"avgHeartRate", value(RideValue::AvgHeartRate)},
            {"maxHeartRate", value(RideValue::MaxHeartRate)},
            {"odometer", ride.odometer ? QJsonValue(metres(qint64(*ride.odometer))) : QJsonValue()},
            {"note", ride.note},
            {"source", ride.source == RideEntry::Source::Csv ? QStringLiteral("csv") : QStringLiteral("device")},
            {"edited", ride.edited},
        });
    }
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Indented));
}

QString LogbookPrinter::totalsJson(const QList<PeriodTotal> &totals)
{
    QJsonArray array;
    for (const PeriodTotal &total : totals)
        array.append(QJsonObject{{"period", total.period}, {"rides", total.rides}, {"distance", metres(total.distance)},
                                 {"rideTime", total.rideTime}, {"ascent", total.ascent}, {"kcal", total.kcal}});
    return QString::fromUtf8(QJsonDocument(array).toJson(QJsonDocument::Indented));
}
