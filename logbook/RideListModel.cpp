// SPDX-License-Identifier: GPL-3.0-or-later
#include "logbook/RideListModel.h"

#include "logbook/Logbook.h"

#include <QLocale>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

QString number(double value, int decimals)
{
    return QLocale().toString(value, 'f', decimals);
}

} // namespace

RideListModel::RideListModel(Logbook &logbook, QObject *parent) : QSqlQueryModel(parent), m_logbook(logbook) {}

void RideListModel::show(const RideFilter &filter)
{
    m_filter = filter;
    // A list not read to its end keeps its statement, and with it the file as it was then; the
    // new list must see what was recorded since.
    clear();
    QSqlQuery query(m_logbook.database());
    RideQuery::prepare(query, filter);
    query.exec();
    setQuery(std::move(query));
}

RideOrder RideListModel::orderOf(int column, Qt::SortOrder order)
{
    static const std::pair<RideOrder::Key, RideValue> keys[ColumnCount] = {
        {RideOrder::Key::Day, RideValue::Distance},
        {RideOrder::Key::Start, RideValue::Distance},
        {RideOrder::Key::Model, RideValue::Distance},
        {RideOrder::Key::Bike, RideValue::Distance},
        {RideOrder::Key::Value, RideValue::Distance},
        {RideOrder::Key::Value, RideValue::RideTime},
        {RideOrder::Key::Value, RideValue::AvgSpeed},
        {RideOrder::Key::Value, RideValue::MaxSpeed},
        {RideOrder::Key::Value, RideValue::Ascent},
        {RideOrder::Key::Value, RideValue::AvgHeartRate},
        {RideOrder::Key::Value, RideValue::Kcal},
        {RideOrder::Key::Note, RideValue::Distance},
    };
    if (column < 0 || column >= ColumnCount)
        return RideOrder(RideOrder::Key::Day, RideValue::Distance, order);
    return RideOrder(keys[column].first, keys[column].second, order);
}

void RideListModel::sort(int column, Qt::SortOrder order)
{
    RideFilter sorted = m_filter;
    sorted.order = orderOf(column, order);
    show(sorted);
}

int RideListModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

RideEntry RideListModel::entry(int row) const
{
    // The query's own values: record(row) would ask data(), which shows only the list's columns.
    QSqlRecord values = record();
    for (int column = 0; column < values.count(); ++column)
        values.setValue(column, QSqlQueryModel::data(createIndex(row, column)));
    return RideQuery::entry(values);
}

QVariant RideListModel::raw(int row, const char *column) const
{
    return QSqlQueryModel::data(createIndex(row, record().indexOf(QLatin1String(column))));
}

qint64 RideListModel::value(int row, RideValue which) const
{
    return raw(row, RideEntry::columnName(which)).toLongLong();
}

QVariant RideListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return QVariant();
    if (role == Qt::TextAlignmentRole) {
        const bool figure = index.column() >= DistanceColumn && index.column() <= KcalColumn;
        return QVariant::fromValue(Qt::AlignVCenter | (figure ? Qt::AlignRight : Qt::AlignLeft));
    }
    return role == Qt::DisplayRole ? display(index.row(), index.column()) : QVariant();
}

// Only the column shown is read from the query.
QVariant RideListModel::display(int row, int column) const
{
    switch (column) {
    case DateColumn:
        return QDate::fromString(raw(row, "day").toString(), Qt::ISODate);
    case StartColumn: {
        const QVariant start = raw(row, "start");
        return start.isNull() ? QString() : QDateTime::fromString(start.toString(), Qt::ISODate).toString(QStringLiteral("HH:mm"));
    }
    case ModelColumn:
        return raw(row, "model").toString();
    case BikeColumn:
        return tr("Bike %1").arg(raw(row, "bike").toInt());
    case DistanceColumn:
        return distanceText(value(row, RideValue::Distance), m_units);
    case RideTimeColumn:
        return rideTimeText(value(row, RideValue::RideTime));
    case AvgSpeedColumn:
        return number(m_units.speed(quint16(value(row, RideValue::AvgSpeed))), 1);
    case MaxSpeedColumn:
        return number(m_units.speed(quint16(value(row, RideValue::MaxSpeed))), 1);
    case AscentColumn:
        return altitudeText(value(row, RideValue::Ascent), m_units);
    case HeartRateColumn:
        return QString::number(value(row, RideValue::AvgHeartRate));
    case KcalColumn:
        return QLocale().toString(value(row, RideValue::Kcal));
    case NoteColumn:
        return raw(row, "note").toString();
    default:
        return QVariant();
    }
}

QVariant RideListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QSqlQueryModel::headerData(section, orientation, role);
    switch (section) {
    case DateColumn:
        return tr("Date");
    case StartColumn:
        return tr("Start");
    case ModelColumn:
        return tr("Model");
    case BikeColumn:
        return tr("Bike");
    case DistanceColumn:
        return tr("Distance (%1)").arg(m_units.distanceUnit());
    case RideTimeColumn:
        return tr("Ride time");
    case AvgSpeedColumn:
        return tr("Avg. speed (%1)").arg(m_units.speedUnit());
    case MaxSpeedColumn:
        return tr("Max. speed (%1)").arg(m_units.speedUnit());
    case AscentColumn:
        return tr("Ascent (%1)").arg(m_units.altitudeUnit());
    case HeartRateColumn:
        return tr("Heart rate");
    case KcalColumn:
        return tr("kcal");
    case NoteColumn:
        return tr("Note");
    default:
        return QVariant();
    }
}

QString RideListModel::distanceText(qint64 millimetres, const DisplayUnits &units)
{
    return number(units.distance(quint64(millimetres)), 2);
}

QString RideListModel::rideTimeText(qint64 seconds)
{
    // Totals run past a day, so the hours are not wrapped at 24.
    return QStringLiteral("%1:%2:%3")
        .arg(seconds / 3600)
        .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(seconds % 60, 2, 10, QLatin1Char('0'));
}

QString RideListModel::altitudeText(qint64 metres, const DisplayUnits &units)
{
    return QLocale().toString(qRound64(units.altitude(quint32(metres))));
}
