// SPDX-License-Identifier: GPL-3.0-or-later
#include "velodesk/PortNameModel.h"

PortNameModel::PortNameModel(QObject *parent) : QIdentityProxyModel(parent) {}

QVariant PortNameModel::data(const QModelIndex &index, int role) const
{
    return QIdentityProxyModel::data(index, role == Qt::EditRole ? Qt::DisplayRole : role);
}
