// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QStringList>

class QWidget;

/// Tells the user, before a FIT file is written, which values are beyond what their fields in the
/// file can hold: the file is written without them rather than with wrapped, wrong figures.
class LeftOutWarning
{
    Q_DECLARE_TR_FUNCTIONS(LeftOutWarning)

public:
    /// Nothing for an empty list; else a modal warning box listing the lines, until OK is pressed.
    static void tell(QWidget *parent, const QStringList &lines);
};
