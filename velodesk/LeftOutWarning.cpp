// SPDX-License-Identifier: GPL-3.0-or-later
#include "velodesk/LeftOutWarning.h"

#include <QMessageBox>

void LeftOutWarning::tell(QWidget *parent, const QStringList &lines)
{
    if (lines.isEmpty())
        return;
    QMessageBox box(QMessageBox::Warning, tr("Values left out"),
                    tr("Some values are beyond what a FIT file can hold. The file is written without them."),
                    QMessageBox::Ok, parent);
    box.setInformativeText(lines.join(QLatin1Char('\n')));
    box.exec();
}
