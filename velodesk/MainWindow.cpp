#include "velodesk/MainWindow.h"

#include "ui_MainWindow.h"

#include "velodesk/BikeTabPage.h"
#include "velodesk/ConnectionStatus.h"
#include "velodesk/ExportFailure.h"

#include "linkhub/ComConnection.h"
#include "linkhub/ComListModel.h"
#include "linkhub/ModelData.h"
#include "linkhub/PortDiagnosis.h"
#include "logbook/RideEntry.h"
#include "outpost/Outposter.h"
#include "velodesk/LogbookRecording.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QFileDialog>
#include <QIcon>

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
    ui->cmbComPorts->setModel(portList.get());
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

void MainWindow::enumerateComPorts()
{
    portList->refresh();
}

void MainWindow::connectComPort()
{
    const int row = ui->cmbComPorts->currentIndex();
    if (row < 0)
        return;
    openedPort = portList->getPort(row).portName;
    connection->open(openedPort, false);
}

void MainWindow::disconnectComPort()
{
    connection->close();
}

void MainWindow::updateConnectionState(ConnectionState newState, ErrorMessage error)
{
    rideArrived = false;
    updateModelData(nullptr, IdentityUpdate);
    acceptance.noteState(newState, error);
    const QString text = ConnectionStatus::text(newState, error);
    if (!text.isEmpty()) {
        ui->lblConnectionStatus->setText(text);
        if (error == FailedToOpen)
            statusBar()->showMessage(PortDiagnosis::reason(openedPort));
        else
            statusBar()->clearMessage();
    }
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
    ui->exportFitButton->setEnabled(linkControlsOn && record && rideArrived);
}

void MainWindow::updateModelData(ModelData *modelData, int updatedData)
{
    record = modelData ? std::make_unique<ModelData>(*modelData) : nullptr;
    rideArrived = rideArrived || (updatedData & (Bike1Update | Bike2Update)) != 0;
    updateExportButton();
    if (!modelData || !modelData->deviceModel) {
        showNoModel();
        return;
    }
    if (updatedData == IdentityUpdate) {
        if (acceptance.checkModel(*modelData) != DeviceAcceptance::Verdict::Accepted)
            return;
        const DeviceModel &model = *modelData->deviceModel;
        DeviceAcceptance::showModel(model, ui->txtDeviceModel, ui->lblImage);
        arrangeTabs(model);
        return;
    }
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
    if (updatedData & FirmwareVersionUpdate)
        acceptance.checkFirmware(data);
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
    // Every box's range is that of its field, so no value changes on the way.
    data.dailyMaxTemp = static_cast<qint8>(ui->maxTempSpinBox->value());
    data.dailyMinTemp = static_cast<qint8>(ui->minTempSpinBox->value());
    data.dailyAltGain = static_cast<quint32>(ui->altGainSpinBox->value());
    data.dailyAltLoss = static_cast<quint32>(ui->altLossSpinBox->value());
    data.dailyMaxAlt = static_cast<quint16>(ui->maxAltSpinBox->value());
    data.ascentAvgGradient = static_cast<quint16>(ui->ascAvgGradientSpinBox->value());
    data.ascentMaxGradient = static_cast<quint16>(ui->ascMaxGradientSpinBox->value());
    data.descentAvgGradient = static_cast<quint16>(ui->descAvgGradientSpinBox->value());
    data.descentMaxGradient = static_cast<quint16>(ui->descMaxGradientSpinBox->value());
    data.ascentAvgVario = static_cast<quint16>(ui->ascAvgVarioSpinBox->value());
    data.ascentMaxVario = static_cast<quint16>(ui->ascMaxVarioSpinBox->value());
    data.descentAvgVario = static_cast<quint16>(ui->descAvgVarioSpinBox->value());
    data.descentMaxVario = static_cast<quint16>(ui->descMaxVarioSpinBox->value());
    data.avgHeartRate = static_cast<quint8>(ui->avgHrSpinBox->value());
    data.maxHeartRate = static_cast<quint8>(ui->maxHrSpinBox->value());
    storeZoneTime(ui->lowerZoneHrTimeEdit->time(), data.hrLowerZoneHour, data.hrLowerZoneMin, data.hrLowerZoneSec);
    storeZoneTime(ui->inZoneHrTimeEdit->time(), data.hrInZoneHour, data.hrInZoneMin, data.hrInZoneSec);
    storeZoneTime(ui->upperZoneHrTimeEdit->time(), data.hrUpperZoneHour, data.hrUpperZoneMin, data.hrUpperZoneSec);
    data.dailyCalories = static_cast<quint32>(ui->caloriesSpinBox->value());
    for (int bike = 0; bike < bikePages.size(); ++bike)
        bikePages.at(bike)->storeInto(data.bikes[bike]);
}

void MainWindow::exportToFit()
{
    if (!record)
        return;
    // Taken now: a state change while the dialog is open drops the window's record.
    ModelData working = *record;
    const QString path =
        QFileDialog::getSaveFileName(this, tr("Save to FIT"), QStringLiteral("./"), tr("Fit files (*.fit)"));
    if (path.isEmpty())
        return;
    storeShownValues(working);
    const QDateTime rideStart(ui->dateEdit->date(), ui->timeEdit->time(), Qt::LocalTime);
    const int bike = ui->bike1RadioButton->isChecked() ? 0 : 1;
    if (!Outposter::exportToFit(path, &working, bike, rideStart)) {
        ExportFailure::tell(this);
        return;
    }
    const bool edited = RideEntry::fromRecord(working, bike).values != RideEntry::fromRecord(*record, bike).values;
    LogbookRecording::recordExport(this, working, bike, rideStart, edited);
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
