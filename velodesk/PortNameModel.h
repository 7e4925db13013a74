// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QIdentityProxyModel>

/// Presents the port list to an editable port box: such a box takes the text of a row from the
/// edit role, which the port list leaves empty, so this answers it with the shown port name.
class PortNameModel : public QIdentityProxyModel
{
    Q_OBJECT

public:
    explicit PortNameModel(QObject *parent = nullptr);

    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
};
