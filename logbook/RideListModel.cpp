// SPDX-License-Identifier: GPL-3.0-or-later
#include "logbook/RideListModel.h"

#include "logbook/BikeRegister.h"
#include "logbook/Logbook.h"

#include <QLocale>
#include <QSqlQuery>
#include <QSqlRecord>

namespace {

QString number(double value, int decimals)
{
    return QLocale().toString(value, 'f', decimals);
}

// The field of the rides table each column shows.
QLatin1String fieldOf(RideListModel::Column column)
{
    switch (column) {
    case RideListModel::DateColumn:
        return QLatin1String("day");
    case RideListModel::StartColumn:
        return QLatin1String("start");
    case RideListModel::ModelColumn:
        return QLatin1String("model");
    case RideListModel::BikeColumn:
        return QLatin1String("bike");
    case RideListModel::DistanceColumn:
        return QLatin1String(RideEntry::columnName(RideValue::Distance));
    case RideListModel::RideTimeColumn:
        return QLatin1String(RideEntry::columnName(RideValue::RideTime));
    case RideListModel::AvgSpeedColumn:
        return QLatin1String(RideEntry::columnName(RideValue::AvgSpeed));
    case RideListModel::MaxSpeedColumn:
        return QLatin1String(RideEntry::columnName(RideValue::MaxSpeed));
    case RideListModel::AscentColumn:
        return QLatin1String(RideEntry::columnName(RideValue::Ascent));
    case RideListModel::HeartRateColumn:
        return QLatin1String(RideEntry::columnName(RideValue::AvgHeartRate));
    case RideListModel::KcalColumn:
        return QLatin1String(RideEntry::columnName(RideValue::Kcal));
    case RideListModel::NoteColumn:
    case RideListModel::ColumnCount:
        break;
    }
    return QLatin1String("note");
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
    const QSqlRecord fields = record();
    for (int column = 0; column < ColumnCount; ++column)
        m_fields[column] = fields.indexOf(fieldOf(Column(column)));
    m_deviceField = fields.indexOf(QLatin1String("device"));
    // Without the names the bikes are shown by their numbers, which is no reason to show no list.
    m_bikeNames.clear();
    BikeRegister(m_logbook).names(m_bikeNames);
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

QVariant RideListModel::raw(int row, Column column) const
{
    return QSqlQueryModel::data(createIndex(row, m_fields[column]));
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
    const Column shown = Column(column);
    switch (shown) {
    case DateColumn:
        return QDate::fromString(raw(row, shown).toString(), Qt::ISODate);
    case StartColumn: {
        const QVariant start = raw(row, shown);
        return start.isNull() ? QString() : QDateTime::fromString(start.toString(), Qt::ISODate).toString(QStringLiteral("HH:mm"));
    }
    case ModelColumn:
    case NoteColumn:
        return raw(row, shown).toString();
    case BikeColumn: {
        const int bike = raw(row, shown).toInt();
        const QString device = QSqlQueryModel::data(createIndex(row, m_deviceField)).toString();
        const QString named = m_bikeNames.value({device, bike});
        return named.isEmpty() ? tr("Bike %1").arg(bike) : named;
    }
    case DistanceColumn:
        return distanceText(value(row, shown), m_units);
    case RideTimeColumn:
        return rideTimeText(value(row, shown));
    case AvgSpeedColumn:
    case MaxSpeedColumn:
        return number(m_units.speed(quint16(value(row, shown))), 1);
    case AscentColumn:
        return altitudeText(value(row, shown), m_units);
    case HeartRateColumn:
        return QString::number(value(row, shown));
    case KcalColumn:
        return QLocale().toString(value(row, shown));
    case ColumnCount:
        break;
    }
    return QVariant();
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
