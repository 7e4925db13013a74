// SPDX-License-Identifier: GPL-3.0-or-later
#include "velodesk/UnitLabel.h"

#include <QGridLayout>
#include <QLabel>

QLabel *UnitLabel::place(QGridLayout *grid, QWidget *box, const QString &unit)
{
    int row = 0;
    int column = 0;
    int rowSpan = 0;
    int columnSpan = 0;
    grid->getItemPosition(grid->indexOf(box), &row, &column, &rowSpan, &columnSpan);
    auto *label = new QLabel(unit);
    label->setObjectName(box->objectName() + QStringLiteral("Unit"));
    grid->addWidget(label, row, column + columnSpan);
    return label;
}
