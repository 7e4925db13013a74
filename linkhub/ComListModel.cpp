// SPDX-License-Identifier: GPL-3.0-or-later
#include "linkhub/ComListModel.h"

#include "linkhub/ComConnection.h"

ComListModel::ComListModel() : ports(ComConnection::getSupportedComs()) {}

void ComListModel::refresh()
{
    // The number of rows may change, which a dataChanged alone would not tell the views.
    beginResetModel();
    ports = ComConnection::getSupportedComs();
    endResetModel();
    if (!ports.isEmpty())
        emit dataChanged(index(0, 0), index(int(ports.size()) - 1, 0));
}

int ComListModel::rowCount(const QModelIndex &) const
{
    return int(ports.size());
}

QVariant ComListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.model() != this || role != Qt::DisplayRole || index.row() >= ports.size())
        return QVariant();
    return ports.at(index.row()).portName;
}

Qt::ItemFlags ComListModel::flags(const QModelIndex &) const
{
    return Qt::ItemIsSelectable | Qt::ItemIsEnabled;
}

QextPortInfo ComListModel::getPort(int row) const
{
    return ports.at(row);
}
