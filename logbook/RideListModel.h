// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "logbook/DisplayUnits.h"
#include "logbook/RideEntry.h"
#include "logbook/RideQuery.h"
#include "logbook/logbook_global.h"

#include <QHash>
#include <QSqlQueryModel>

#include <array>

class Logbook;

/// The rides of a logbook for a view: one row per ride, oldest first unless sorted otherwise,
/// fetched as the view asks for them, with distances and speeds in the units chosen. Sorting runs
/// the query again in the new order, so that a long list is never read whole. Must be gone before
/// its logbook.
class LOGBOOK_EXPORT RideListModel : public QSqlQueryModel
{
    Q_OBJECT

public:
    enum Column {
        DateColumn,
        StartColumn,
        ModelColumn,
        BikeColumn,
        DistanceColumn,
        RideTimeColumn,
        AvgSpeedColumn,
        MaxSpeedColumn,
        AscentColumn,
        HeartRateColumn,
        KcalColumn,
        NoteColumn,
        ColumnCount
    };

    explicit RideListModel(Logbook &logbook, QObject *parent = nullptr);

    /// Shows the rides of `filter`, in its order; call again to see what was recorded since.
    void show(const RideFilter &filter);
    /// The filter shown, with the order sorting gave it.
    const RideFilter &filter() const { return m_filter; }
    /// Distances, speeds and heights in these units from the next show() on.
    void setUnits(const DisplayUnits &units) { m_units = units; }

    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    /// The order of a list sorted by `column`.
    static RideOrder orderOf(int column, Qt::SortOrder order);

    /// The whole entry of a row.
    RideEntry entry(int row) const;

    /// How the list writes a distance, a ride time and a height.
    static QString distanceText(qint64 millimetres, const DisplayUnits &units);
    static QString rideTimeText(qint64 seconds);
    static QString altitudeText(qint64 metres, const DisplayUnits &units);

private:
    QVariant display(int row, int column) const;
    /// The query's value of a column, or of its figure.
    QVariant raw(int row, Column column) const;
    qint64 value(int row, Column column) const { return raw(row, column).toLongLong(); }

    Logbook &m_logbook;
    /// Where the query keeps each column's value, found once per query rather than once per cell.
    std::array<int, ColumnCount> m_fields{};
    int m_deviceField = -1;
    QHash<std::pair<QString, int>, QString> m_bikeNames;
    RideFilter m_filter;
    DisplayUnits m_units = DisplayUnits::forSystem(0);
};
