#include "velodesk/ComPortPage.h"

#include "ui_ComPortPage.h"

#include "velodesk/PortNameModel.h"

#include "linkhub/ComConnection.h"
#include "linkhub/ComListModel.h"
#include "linkhub/ModelData.h"
#include "linkhub/SupportedModels.h"

#include <QLineEdit>
#include <QMessageBox>
#include <QPixmap>

namespace {
const QSize pictureSize(200, 100);
}

ComPortPage::ComPortPage(ComConnection *connection, QWidget *parent)
    : QWizardPage(parent), ui(std::make_unique<Ui::ComPortPage>())
{
    ui->setupUi(this);
    setCommitPage(true);
    this->connection = connection;
    portList = std::make_unique<ComListModel>();
    auto *portNames = new PortNameModel(this);
    portNames->setSourceModel(portList.get());
    ui->cmbComPorts->setModel(portNames);
    // Bridges the list does not know (and pseudo-terminals) are opened by a typed name.
    ui->cmbComPorts->lineEdit()->setPlaceholderText(tr("Port name"));

    connect(ui->btnEnumerate, &QPushButton::clicked, this, &ComPortPage::onRefresh);
    connect(ui->btnConnect, &QPushButton::clicked, this, &ComPortPage::onConnect);
    connect(connection, &ComConnection::connectionStateChanged, this, &ComPortPage::updateConnectionState);
    connect(connection, &ComConnection::modelDataUpdate, this, &ComPortPage::modelDataUpdate);
}

ComPortPage::~ComPortPage() = default;

bool ComPortPage::isComplete() const
{
    return QWizardPage::isComplete() && connection->getConnectionState() == Connected;
}

void ComPortPage::onRefresh()
{
    portList->refresh();
    ui->cmbComPorts->setCurrentIndex(0);
}

void ComPortPage::onConnect()
{
    setButtonsEnabled(false);
    const QString port = chosenPortName();
    if (port.isEmpty()) {
        // Nothing listed and nothing typed: there is nothing to open.
        setButtonsEnabled(true);
        return;
    }
    modelRefused = false;
    connection->open(port, false);
}

QString ComPortPage::chosenPortName() const
{
    const QComboBox *box = ui->cmbComPorts;
    const int row = box->currentIndex();
    const QString shown = box->currentText().trimmed();
    if (row >= 0 && row < portList->rowCount() && shown == box->itemText(row))
        return portList->getPort(row).portName;
    return shown;
}

void ComPortPage::setButtonsEnabled(bool enabled)
{
    ui->btnConnect->setEnabled(enabled);
    ui->btnEnumerate->setEnabled(enabled);
}

void ComPortPage::updateConnectionState(ConnectionState newState, ErrorMessage error)
{
    QString text;
    bool reenable = false;
    if (error == NoError) {
        switch (newState) {
        case Closed:
            text = tr("Connection closed", "Connection State");
            reenable = true;
            break;
        case Opening:
            text = tr("Connection opening...", "Connection State");
            break;
        case WaitingForAnswer:
            text = tr("Waiting for answer...", "Connection State");
            break;
        case Connected:
            text = tr("Connected", "Connection State");
            break;
        case Closing:
            text = tr("Connection closing...", "Connection State");
            break;
        case Error:
            text = tr("Connection error", "Connection State");
            reenable = true;
            break;
        default:
            return;
        }
    } else {
        switch (error) {
        case FailedToOpen:
            text = tr("Failed to open connection", "Connection Error");
            break;
        case UnknownDeviceType:
            text = tr("Unknown device type", "Connection Error");
            break;
        case ConnectionLost:
            text = tr("Connection lost", "Connection Error");
            break;
        default:
            return;
        }
        reenable = true;
    }
    ui->lblConnectionStatus->setText(text);
    if (reenable)
        setButtonsEnabled(true);
}

void ComPortPage::modelDataUpdate(ModelData *data, int updateBits)
{
    if (!data || !data->deviceModel)
        return;
    const int id = data->deviceModel->id;

    if (updateBits == IdentityUpdate) {
        if (SupportedModels::isSupported(id)) {
            modelRefused = false;
            showModel(*data);
        } else {
            modelRefused = true;
            connection->close();
            QMessageBox::critical(this, tr("Device unsupported"), tr("This device is not supported!"),
                                  QMessageBox::Ok);
        }
        return;
    }

    if (updateBits & FirmwareVersionUpdate) {
        // The firmware answer of a refused model, or one that arrives after the link went down,
        // must not restart reading.
        if (modelRefused || connection->getConnectionState() != Connected)
            return;
        if (!SupportedModels::isFirmwareAccepted(id, data->firmwareVersion)) {
            QMessageBox::warning(this, tr("Firmware unsupported"),
                                 tr("The device firmware is not supported by this Application!\n"
                                    "Please update your device with the Tunedock tool!"),
                                 QMessageBox::Ok);
            connection->close();
            return;
        }
        emit completeChanged();
        connection->approveFw();
    }
}

void ComPortPage::showModel(const ModelData &data)
{
    ui->txtDeviceModel->setText(data.deviceModel->name);
    const QPixmap picture(data.deviceModel->imagePath);
    if (picture.isNull()) {
        ui->lblImage->hide();
        return;
    }
    ui->lblImage->setPixmap(picture.scaled(pictureSize, Qt::KeepAspectRatio, Qt::SmoothTransformation));
    ui->lblImage->show();
}
