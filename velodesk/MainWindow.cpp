// SPDX-License-Identifier: GPL-3.0-or-later
#include "velodesk/MainWindow.h"

#include "ui_MainWindow.h"

#include "velodesk/BikeTabPage.h"
#include "velodesk/ConnectionStatus.h"
#include "velodesk/ExportFailure.h"
#include "velodesk/LeftOutWarning.h"
#include "velodesk/LogbookRecording.h"
#include "velodesk/PortBox.h"
#include "velodesk/ShownValue.h"

#include "linkhub/ComConnection.h"
#include "linkhub/ComListModel.h"
#include "linkhub/ModelData.h"
#include "linkhub/PortDiagnosis.h"
#include "logbook/RideEntry.h"
#include "outpost/FitLimits.h"
#include "outpost/Outposter.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QIcon>
#include <QLabel>

namespace {
QTime zoneTime(quint8 hour, quint8 minute, quint8 second)
{
    return QTime(hour, minute, second);
}

void storeZoneTime(const QTime &time, quint8 &hour, quint8 &minute, quint8 &second)
{
    hour = static_cast<quint8>(time.hour());
    minute = static_cast<quint8>(time.minute());
    second = static_cast<quint8>(time.second());
}
}

MainWindow::MainWindow(QWidget *parent)
    : QMainWindow(parent), ui(std::make_unique<Ui::MainWindow>()), portList(std::make_unique<ComListModel>()),
      connection(std::make_unique<ComConnection>()), acceptance(connection.get(), this)
{
    ui->setupUi(this);
    // The window's own icon is not delivered; the program's icon stands in.
    setWindowIcon(QIcon(QStringLiteral(":/icon.png")));
    auto *portAdvice = new QLabel(this);
    portAdvice->setObjectName(QStringLiteral("lblPortAdvice"));
    ui->centralLayout->insertWidget(1, portAdvice);
    portBox = new PortBox(ui->cmbComPorts, portAdvice, this);
    portBox->show(portList.get());
    limitBoxesToTheFitFile();
    showUnits();
    for (int index = 0; index < ui->tabWidget->count(); ++index)
        dataTabs.append({ui->tabWidget->widget(index), ui->tabWidget->tabText(index)});

    updateConnectionState(connection->getConnectionState(), NoError);

    for (int bike = 1; bike <= 2; ++bike) {
        auto *page = new BikeTabPage;
        bikePages.append(page);
        ui->tabWidgetBikes->addTab(page, tr("Bike %0").arg(bike));
    }
    const QDateTime now = QDateTime::currentDateTime();
    ui->dateEdit->setDate(now.date());
    ui->timeEdit->setTime(now.time());

    connect(ui->exportFitButton, &QPushButton::clicked, this, &MainWindow::exportToFit);
    connect(ui->btnEnumerate, &QPushButton::clicked, this, &MainWindow::enumerateComPorts);
    connect(ui->btnConnect, &QPushButton::clicked, this, &MainWindow::connectComPort);
    connect(ui->btnDisconnect, &QPushButton::clicked, this, &MainWindow::disconnectComPort);
    connect(connection.get(), &ComConnection::connectionStateChanged, this, &MainWindow::updateConnectionState);
    connect(connection.get(), &ComConnection::modelDataUpdate, this, &MainWindow::updateModelData);
}

// The connection goes before the widgets that show its state.
MainWindow::~MainWindow() = default;

void MainWindow::limitBoxesToTheFitFile()
{
    ui->maxTempSpinBox->setMaximum(FitLimits::Temperature);
    for (QSpinBox *grade : {ui->ascAvgGradientSpinBox, ui->ascMaxGradientSpinBox, ui->descAvgGradientSpinBox,
                            ui->descMaxGradientSpinBox})
        grade->setMaximum(FitLimits::Gradient);
    ui->avgHrSpinBox->setMaximum(FitLimits::HeartRate);
    ui->maxHrSpinBox->setMaximum(FitLimits::HeartRate);
    ui->caloriesSpinBox->setMaximum(int(FitLimits::Calories));
}

void MainWindow::showUnits()
{
    const QString celsius = tr(" °C");
    const QString metres = tr(" m");
    const QString percent = tr(" %");
    const QString metresPerHour = tr(" m/h");
    const QList<QPair<QSpinBox *, QString>> units{
        {ui->maxTempSpinBox, celsius},          {ui->minTempSpinBox, celsius},
        {ui->altGainSpinBox, metres},           {ui->altLossSpinBox, metres},
        {ui->maxAltSpinBox, metres},            {ui->ascAvgGradientSpinBox, percent},
        {ui->ascMaxGradientSpinBox, percent},   {ui->descAvgGradientSpinBox, percent},
        {ui->descMaxGradientSpinBox, percent},  {ui->ascAvgVarioSpinBox, metresPerHour},
        {ui->ascMaxVarioSpinBox, metresPerHour}, {ui->descAvgVarioSpinBox, metresPerHour},
        {ui->descMaxVarioSpinBox, metresPerHour}, {ui->avgHrSpinBox, tr(" bpm")},
        {ui->maxHrSpinBox, tr(" bpm")},         {ui->caloriesSpinBox, tr(" kcal")},
    };
    for (const auto &[box, unit] : units)
        box->setSuffix(unit);
}

void MainWindow::enumerateComPorts()
{
    portBox->refresh();
}

void MainWindow::connectComPort()
{
    const QString port = portBox->chosenPortName();
    if (port.isEmpty()) {
        statusBar()->showMessage(PortBox::nothingToOpenText());
        return;
    }
    openedPort = port;
    connection->open(openedPort, false);
}

void MainWindow::disconnectComPort()
{
    connection->close();
}

void MainWindow::updateConnectionState(ConnectionState newState, ErrorMessage error)
{
    updateModelData(nullptr, IdentityUpdate);
    acceptance.noteState(newState, error);
    const QString text = ConnectionStatus::text(newState, error);
    if (!text.isEmpty()) {
        reading.noteState(newState, error);
        ui->lblConnectionStatus->setText(text);
        showLinkNote(error);
    }
    if (newState == Connected && error == NoError)
        PortBox::remember(openedPort);
    const bool active = ConnectionStatus::linkActive(newState, error);
    setConnectControlsEnabled(!active);
    setLinkControlsOn(active);
    if (closeRequested && ConnectionStatus::linkEnded(newState, error))
        close();
}

void MainWindow::setConnectControlsEnabled(bool enabled)
{
    ui->cmbComPorts->setEnabled(enabled);
    ui->btnEnumerate->setEnabled(enabled);
    ui->btnConnect->setEnabled(enabled);
}

void MainWindow::setLinkControlsOn(bool on)
{
    linkControlsOn = on;
    ui->btnDisconnect->setEnabled(on);
    ui->bike1RadioButton->setEnabled(on);
    ui->bike2RadioButton->setEnabled(on);
    ui->tabWidget->setVisible(on);
    updateExportButton();
}

void MainWindow::updateExportButton()
{
    ui->exportFitButton->setEnabled(linkControlsOn && record && reading.isComplete());
}

void MainWindow::showLinkNote(ErrorMessage error)
{
    const QString note = error == FailedToOpen ? PortDiagnosis::reason(openedPort) : reading.text();
    if (note.isEmpty())
        statusBar()->clearMessage();
    else
        statusBar()->showMessage(note);
}

void MainWindow::updateModelData(ModelData *modelData, int updatedData)
{
    record = modelData ? std::make_unique<ModelData>(*modelData) : nullptr;
    if (!modelData || !modelData->deviceModel) {
        updateExportButton();
        showNoModel();
        return;
    }
    if (updatedData == IdentityUpdate) {
        updateExportButton();
        if (acceptance.checkModel(*modelData) != DeviceAcceptance::Verdict::Accepted)
            return;
        const DeviceModel &model = *modelData->deviceModel;
        DeviceAcceptance::showModel(model, ui->txtDeviceModel, ui->lblImage);
        arrangeTabs(model);
        reading.modelAccepted(model);
        showLinkNote(NoError);
        return;
    }
    if (reading.noteBlock(updatedData))
        showLinkNote(NoError);
    updateExportButton();
    // The copy, not the link's record: a box opened below lets the link replace that one.
    const ModelData &data = *record;
    if (updatedData & AltitudeUpdate)
        showAltitude(data);
    if (updatedData & HeartRateUpdate)
        showHeartRate(data);
    if (updatedData & Bike1Update)
        bikePages.at(0)->showBike(data.bikes[0], data.unitSystem);
    if (updatedData & Bike2Update)
        bikePages.at(1)->showBike(data.bikes[1], data.unitSystem);
    if ((updatedData & FirmwareVersionUpdate)
        && acceptance.checkFirmware(data) == DeviceAcceptance::Verdict::Accepted) {
        reading.firmwareAccepted();
        showLinkNote(NoError);
        updateExportButton();
    }
}

void MainWindow::showNoModel()
{
    ui->txtDeviceModel->setText(tr("None", "Device model"));
    ui->lblImage->hide();
}

void MainWindow::arrangeTabs(const DeviceModel &model)
{
    const bool present[] = {true, model.has(DeviceModel::AltitudeValues), model.has(DeviceModel::HeartRateValues),
                            model.has(DeviceModel::BikeValues)};
    ui->tabWidget->clear();
    for (int index = 0; index < dataTabs.size(); ++index) {
        if (present[index])
            ui->tabWidget->addTab(dataTabs.at(index).first, dataTabs.at(index).second);
    }
    ui->tabWidget->setEnabled(true);
    ui->tabWidgetBikes->setTabEnabled(1, model.has(DeviceModel::SecondBike));
}

void MainWindow::showAltitude(const ModelData &data)
{
    ui->maxTempSpinBox->setValue(data.dailyMaxTemp);
    ui->minTempSpinBox->setValue(data.dailyMinTemp);
    ui->altGainSpinBox->setValue(int(data.dailyAltGain));
    ui->altLossSpinBox->setValue(int(data.dailyAltLoss));
    ui->maxAltSpinBox->setValue(data.dailyMaxAlt);
    ui->ascAvgGradientSpinBox->setValue(data.ascentAvgGradient);
    ui->ascMaxGradientSpinBox->setValue(data.ascentMaxGradient);
    ui->descAvgGradientSpinBox->setValue(data.descentAvgGradient);
    ui->descMaxGradientSpinBox->setValue(data.descentMaxGradient);
    ui->ascAvgVarioSpinBox->setValue(data.ascentAvgVario);
    ui->ascMaxVarioSpinBox->setValue(data.ascentMaxVario);
    ui->descAvgVarioSpinBox->setValue(data.descentAvgVario);
    ui->descMaxVarioSpinBox->setValue(data.descentMaxVario);
}

void MainWindow::showHeartRate(const ModelData &data)
{
    ui->avgHrSpinBox->setValue(data.avgHeartRate);
    ui->maxHrSpinBox->setValue(data.maxHeartRate);
    ui->caloriesSpinBox->setValue(int(data.dailyCalories));
    ui->lowerZoneHrTimeEdit->setTime(zoneTime(data.hrLowerZoneHour, data.hrLowerZoneMin, data.hrLowerZoneSec));
    ui->inZoneHrTimeEdit->setTime(zoneTime(data.hrInZoneHour, data.hrInZoneMin, data.hrInZoneSec));
    ui->upperZoneHrTimeEdit->setTime(zoneTime(data.hrUpperZoneHour, data.hrUpperZoneMin, data.hrUpperZoneSec));
}

void MainWindow::storeShownValues(ModelData &data) const
{
    using ShownValue::keptOrTyped;
    data.dailyMaxTemp = keptOrTyped(ui->maxTempSpinBox, data.dailyMaxTemp);
    data.dailyMinTemp = keptOrTyped(ui->minTempSpinBox, data.dailyMinTemp);
    data.dailyAltGain = keptOrTyped(ui->altGainSpinBox, data.dailyAltGain);
    data.dailyAltLoss = keptOrTyped(ui->altLossSpinBox, data.dailyAltLoss);
    data.dailyMaxAlt = keptOrTyped(ui->maxAltSpinBox, data.dailyMaxAlt);
    data.ascentAvgGradient = keptOrTyped(ui->ascAvgGradientSpinBox, data.ascentAvgGradient);
    data.ascentMaxGradient = keptOrTyped(ui->ascMaxGradientSpinBox, data.ascentMaxGradient);
    data.descentAvgGradient = keptOrTyped(ui->descAvgGradientSpinBox, data.descentAvgGradient);
    data.descentMaxGradient = keptOrTyped(ui->descMaxGradientSpinBox, data.descentMaxGradient);
    data.ascentAvgVario = keptOrTyped(ui->ascAvgVarioSpinBox, data.ascentAvgVario);
    data.ascentMaxVario = keptOrTyped(ui->ascMaxVarioSpinBox, data.ascentMaxVario);
    data.descentAvgVario = keptOrTyped(ui->descAvgVarioSpinBox, data.descentAvgVario);
    data.descentMaxVario = keptOrTyped(ui->descMaxVarioSpinBox, data.descentMaxVario);
    data.avgHeartRate = keptOrTyped(ui->avgHrSpinBox, data.avgHeartRate);
    data.maxHeartRate = keptOrTyped(ui->maxHrSpinBox, data.maxHeartRate);
    storeZoneTime(ui->lowerZoneHrTimeEdit->time(), data.hrLowerZoneHour, data.hrLowerZoneMin, data.hrLowerZoneSec);
    storeZoneTime(ui->inZoneHrTimeEdit->time(), data.hrInZoneHour, data.hrInZoneMin, data.hrInZoneSec);
    storeZoneTime(ui->upperZoneHrTimeEdit->time(), data.hrUpperZoneHour, data.hrUpperZoneMin, data.hrUpperZoneSec);
    data.dailyCalories = keptOrTyped(ui->caloriesSpinBox, data.dailyCalories);
    for (int bike = 0; bike < bikePages.size(); ++bike)
        bikePages.at(bike)->storeInto(data.bikes[bike]);
}

void MainWindow::exportToFit()
{
    if (!record)
        return;
    // Taken now: a state change while the dialog is open drops the window's record.
    ModelData working = *record;
    QString path =
        QFileDialog::getSaveFileName(this, tr("Save to FIT"), QStringLiteral("./"), tr("Fit files (*.fit)"));
    if (path.isEmpty())
        return;
    // The only file type offered is FIT: a name typed without an ending gets its ending.
    if (QFileInfo(path).suffix().isEmpty())
        path += QStringLiteral(".fit");
    storeShownValues(working);
    const QDateTime rideStart(ui->dateEdit->date(), ui->timeEdit->time(), Qt::LocalTime);
    const int bike = ui->bike1RadioButton->isChecked() ? 0 : 1;
    LeftOutWarning::tell(this, Outposter::leftOutValues(&working, bike, rideStart));
    QString reason;
    if (!Outposter::exportToFit(path, &working, bike, rideStart, &reason)) {
        ExportFailure::tell(this, path, reason);
        return;
    }
    const bool edited = RideEntry::fromRecord(working, bike).values != RideEntry::fromRecord(*record, bike).values;
    LogbookRecording::recordExport(this, working, bike, rideStart, edited);
    statusBar()->showMessage(tr("Written to %1").arg(QDir::toNativeSeparators(path)));
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (connection->getConnectionState() != Connected) {
        event->accept();
        emit closed();
        return;
    }
    hide();
    closeRequested = true;
    connection->close();
    event->ignore();
}
