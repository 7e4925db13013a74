// SPDX-License-Identifier: GPL-3.0-or-later
#include "velodesk/LogbookRecording.h"

#include "logbook/Logbook.h"
#include "logbook/RideRecorder.h"

#include <QMessageBox>
#include <QSettings>

QMessageBox *LogbookRecording::recordExport(QWidget *window, const ModelData &exported, int bikeIndex,
                                            const QDateTime &start, bool edited)
{
    if (!QSettings().value(QStringLiteral("logbook/enabled"), true).toBool())
        return nullptr;
    Logbook logbook(Logbook::desktopPath());
    std::optional<LogbookError> error = logbook.open();
    if (!error)
        error = RideRecorder(logbook).recordExport(exported, bikeIndex, start, edited);
    if (!error)
        return nullptr;
    qWarning() << "logbook not written" << error->path();
    // Shown without waiting for it: the ride is written, only the logbook missed it.
    auto *box = new QMessageBox(QMessageBox::Warning, tr("Ride not kept in the logbook"),
                                tr("The ride was exported, but it could not be kept in the logbook.\n%1")
                                    .arg(error->message()),
                                QMessageBox::Ok, window);
    box->setObjectName(QStringLiteral("logbookWarning"));
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->show();
    return box;
}
