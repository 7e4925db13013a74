#include "velodesk/ChooseFilePage.h"

#include "ui_ChooseFilePage.h"

#include "velodesk/ExportFailure.h"
#include "velodesk/LogbookRecording.h"

#include "linkhub/ComConnection.h"
#include "outpost/CsvExporter.h"
#include "outpost/Outposter.h"

#include <QDateTime>
#include <QDebug>
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

void ChooseFilePage::onSearchButton()
{
    const QString fitFilter = tr("Fit Files (*.fit)");
    const QString csvFilter = tr("csv Files (*.csv)");
    QString chosenFilter;
    QString path = QFileDialog::getSaveFileName(this, tr("Export File"), ui->fileEdit->text(),
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
    if (field(QStringLiteral("type_fit")).toBool() && exportRide())
        return true;
    ExportFailure::tell(this);
    return false;
}

bool ChooseFilePage::exportRide()
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
        exported = Outposter::exportToFit(path, record, bike, rideStart);
    } else {
        qDebug() << "export csv";
        exported = CsvExporter::exportToCsv(path, record, bike, rideStart);
    }
    if (exported)
        LogbookRecording::recordExport(window(), *record, bike, rideStart, field(QStringLiteral("valuesCorrected")).toBool());
    return exported;
}
