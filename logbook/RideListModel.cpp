// SPDX-License-Identifier: GPL-3.0-or-later
#include "logbook/RideListModel.h"

#include "logbook/Logbook.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QTime>

RideListModel::RideListModel(Logbook &logbook, QObject *parent) : QSqlQueryModel(parent), m_logbook(logbook) {}

void RideListModel::show(const RideFilter &filter)
{
    QSqlQuery query(m_logbook.database());
    RideQuery::prepare(query, filter);
    query.exec();
    setQuery(std::move(query));
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

QVariant RideListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || role != Qt::DisplayRole)
        return QVariant();
    // Only the column shown is read from the query.
    const auto raw = [&](const char *column) {
        return QSqlQueryModel::data(createIndex(index.row(), record().indexOf(QLatin1String(column))));
    };
    switch (index.column()) {
    case DateColumn:
        return QDate::fromString(raw("day").toString(), Qt::ISODate);
    case BikeColumn:
        return raw("bike").toInt();
    case ModelColumn:
        return raw("model").toString();
    case DistanceColumn:
        return raw(RideEntry::columnName(RideValue::Distance)).toLongLong() / 1e6;
    case RideTimeColumn:
        return QTime(0, 0).addSecs(raw(RideEntry::columnName(RideValue::RideTime)).toInt());
    case NoteColumn:
        return raw("note").toString();
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
    case BikeColumn:
        return tr("Bike");
    case ModelColumn:
        return tr("Model");
    case DistanceColumn:
        return tr("Distance (km)");
    case RideTimeColumn:
        return tr("Ride time");
    case NoteColumn:
        return tr("Note");
    default:
        return QVariant();
    }
}
