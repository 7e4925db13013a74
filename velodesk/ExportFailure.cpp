#include "velodesk/ExportFailure.h"

#include <QMessageBox>

void ExportFailure::tell(QWidget *parent)
{
    QMessageBox::critical(parent, tr("Exporting failed"),
                          tr("There was a problem exporting the file. Please make sure that you have "
                             "sufficient rights and that no other application is currently using the file."),
                          QMessageBox::Ok);
}
