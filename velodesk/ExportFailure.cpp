// SPDX-License-Identifier: GPL-3.0-or-later
#include "velodesk/ExportFailure.h"

#include <QDir>
#include <QMessageBox>

void ExportFailure::tell(QWidget *parent, const QString &path, const QString &reason)
{
    QMessageBox box(QMessageBox::Critical, tr("Exporting failed"),
                    tr("There was a problem exporting the file. Please make sure that you have "
                       "sufficient rights and that no other application is currently using the file."),
                    QMessageBox::Ok, parent);
    const QString file = QDir::toNativeSeparators(path);
    box.setInformativeText(reason.isEmpty() ? tr("%1 could not be written.").arg(file)
                                            : tr("%1 could not be written: %2.").arg(file, reason));
    box.exec();
}
