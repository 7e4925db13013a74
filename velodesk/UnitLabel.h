// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QGridLayout;
class QLabel;
class QWidget;

/// The name of a unit beside the box that shows a value in it.
class UnitLabel
{
public:
    /// Puts a label with the unit in the grid cell right of the box and returns it; the label is
    /// named after the box with "Unit" appended.
    static QLabel *place(QGridLayout *grid, QWidget *box, const QString &unit);
};
