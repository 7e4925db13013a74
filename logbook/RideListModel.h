// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "logbook/RideEntry.h"
#include "logbook/RideQuery.h"
#include "logbook/logbook_global.h"

#include <QSqlQueryModel>

class Logbook;

/// The rides of a logbook for a view: one row per ride, oldest first, fetched as the view asks
/// for them. Must be gone before its logbook.
class LOGBOOK_EXPORT RideListModel : public QSqlQueryModel
{
    Q_OBJECT

public:
    enum Column { DateColumn, BikeColumn, ModelColumn, DistanceColumn, RideTimeColumn, NoteColumn, ColumnCount };

    explicit RideListModel(Logbook &logbook, QObject *parent = nullptr);

    /// Shows the rides of `filter`; call again to see what was recorded since.
    void show(const RideFilter &filter);

    int columnCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    /// The whole entry of a row.
    RideEntry entry(int row) const;

private:
    Logbook &m_logbook;
};
