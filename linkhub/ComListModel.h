// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkhub/QextPortInfo.h"
#include "linkhub/linkhub_global.h"

#include <QAbstractListModel>
#include <QList>

/// One-column list of the serial ports behind supported USB bridges, for a selection box.
class LINKHUB_EXPORT ComListModel : public QAbstractListModel
{
    Q_OBJECT

public:
    ComListModel();

    /// Reloads the list from the system and tells the views.
    void refresh();
    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    /// The port name for the display role; nothing otherwise.
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    /// A copy of the entry at row; row must be between 0 and rowCount() - 1.
    QextPortInfo getPort(int row) const;

private:
    QList<QextPortInfo> ports;
};
