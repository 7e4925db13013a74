// SPDX-License-Identifier: GPL-3.0-or-later
#include "velodesk/ChooseFilePage.h"

#include "ui_ChooseFilePage.h"

#include "velodesk/ExportFailure.h"
#include "velodesk/LeftOutWarning.h"
#include "velodesk/LogbookRecording.h"

#include "linkhub/ComConnection.h"
#include "linkhub/ModelData.h"
#include "outpost/CsvExporter.h"
#include "outpost/ExportPlace.h"
#include "outpost/Outposter.h"

#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>

ChooseFilePage::ChooseFilePage(ComConnection *connection, QWidget *parent)
    : QWizardPage(parent), ui(std::make_unique<Ui::ChooseFilePage>()), connection(connection)
{
    ui->setupUi(this);
    registerField(QStringLiteral("outputPath*"), ui->fileEdit);
    connect(ui->searchButton, &QPushButton::clicked, this, &ChooseFilePage::onSearchButton);
}

ChooseFilePage::~ChooseFilePage() = default;

int ChooseFilePage::nextId() const
{
    return -1;
}

void ChooseFilePage::initializePage()
{
    ui->fileEdit->setPlaceholderText(QDir::toNativeSeparators(proposedPath()));
}

QString ChooseFilePage::proposedPath() const
{
    const ModelData *record = connection->getData();
    if (!record || !record->deviceModel)
        return QString();
    const int bike = field(QStringLiteral("bike1")).toBool() ? 1 : 2;
    const QString name =
        ExportPlace::proposedName(record->deviceModel->name, field(QStringLiteral("date")).toDate(), bike);
    return QDir(ExportPlace::folder()).filePath(name);
}

void ChooseFilePage::onSearchButton()
{
    const QString fitFilter = tr("Fit Files (*.fit)");
    const QString csvFilter = tr("csv Files (*.csv)");
    QString chosenFilter;
    // An empty field starts at the proposal, so that accepting the dialog takes it.
    const QString start = ui->fileEdit->text().isEmpty() ? proposedPath() : ui->fileEdit->text();
    QString path = QFileDialog::getSaveFileName(this, tr("Export File"), start,
                                                fitFilter + QStringLiteral(";;") + csvFilter, &chosenFilter);
    if (path.isEmpty())
        return;
    // The ending decides the format; a name typed without one gets that of the chosen file type,
    // so that choosing FIT files gives a FIT file.
    if (QFileInfo(path).suffix().isEmpty())
        path += chosenFilter == fitFilter ? QStringLiteral(".fit") : QStringLiteral(".csv");
    ui->fileEdit->setText(path);
}

bool ChooseFilePage::validatePage()
{
    QString reason;
    if (field(QStringLiteral("type_fit")).toBool() && exportRide(&reason)) {
        ExportPlace::remember(field(QStringLiteral("outputPath")).toString());
        return true;
    }
    ExportFailure::tell(this, field(QStringLiteral("outputPath")).toString(), reason);
    return false;
}

bool ChooseFilePage::exportRide(QString *reason)
{
    const QString path = field(QStringLiteral("outputPath")).toString();
    const QDateTime rideStart(field(QStringLiteral("date")).toDate(), field(QStringLiteral("time")).toTime(),
                              Qt::LocalTime);
    const int bike = field(QStringLiteral("bike1")).toBool() ? 0 : 1;
    ModelData *record = connection->getData();
    // Without a record (no device was ever identified) there is nothing to write.
    if (!record)
        return false;
    bool exported = false;
    if (path.endsWith(QLatin1String(".fit"), Qt::CaseSensitive)) {
        qDebug() << "export fit";
        LeftOutWarning::tell(this, Outposter::leftOutValues(record, bike, rideStart));
        exported = Outposter::exportToFit(path, record, bike, rideStart, reason);
    } else {
        qDebug() << "export csv";
        exported = CsvExporter::exportToCsv(path, record, bike, rideStart, reason);
    }
    if (exported)
        LogbookRecording::recordExport(window(), *record, bike, rideStart, field(QStringLiteral("valuesCorrected")).toBool());
    return exported;
}
