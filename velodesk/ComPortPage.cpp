#include "velodesk/ComPortPage.h"

#include "ui_ComPortPage.h"

#include "velodesk/ConnectionStatus.h"
#include "velodesk/PortNameModel.h"

#include "linkhub/ComConnection.h"
#include "linkhub/ComListModel.h"
#include "linkhub/ModelData.h"
#include "linkhub/PortDiagnosis.h"

#include <QLineEdit>

ComPortPage::ComPortPage(ComConnection *connection, QWidget *parent)
    : QWizardPage(parent), ui(std::make_unique<Ui::ComPortPage>()), acceptance(connection, this)
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
    openedPort = port;
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
    acceptance.noteState(newState, error);
    const QString text = ConnectionStatus::text(newState, error);
    if (text.isEmpty())
        return;
    ui->lblConnectionStatus->setText(text);
    showPortProblem(error == FailedToOpen ? PortDiagnosis::reason(openedPort) : QString());
    if (ConnectionStatus::linkEnded(newState, error))
        setButtonsEnabled(true);
}

void ComPortPage::showPortProblem(const QString &text)
{
    ui->lblPortProblem->setText(text);
    ui->lblPortProblem->setVisible(!text.isEmpty());
}

void ComPortPage::modelDataUpdate(ModelData *data, int updateBits)
{
    if (!data || !data->deviceModel)
        return;
    if (updateBits == IdentityUpdate) {
        if (acceptance.checkModel(*data) == DeviceAcceptance::Verdict::Accepted)
            DeviceAcceptance::showModel(*data->deviceModel, ui->txtDeviceModel, ui->lblImage);
        return;
    }
    if ((updateBits & FirmwareVersionUpdate)
        && acceptance.checkFirmware(*data) == DeviceAcceptance::Verdict::Accepted)
        emit completeChanged();
}
