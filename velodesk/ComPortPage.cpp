// SPDX-License-Identifier: GPL-3.0-or-later
#include "velodesk/ComPortPage.h"

#include "ui_ComPortPage.h"

#include "velodesk/ConnectionStatus.h"
#include "velodesk/PortBox.h"

#include "linkhub/ComConnection.h"
#include "linkhub/ComListModel.h"
#include "linkhub/ModelData.h"
#include "linkhub/PortDiagnosis.h"

#include <QLabel>
#include <QThread>

ComPortPage::ComPortPage(ComConnection *connection, QWidget *parent)
    : QWizardPage(parent), ui(std::make_unique<Ui::ComPortPage>()), acceptance(connection, this)
{
    ui->setupUi(this);
    setCommitPage(true);
    this->connection = connection;
    auto *portAdvice = new QLabel(this);
    portAdvice->setObjectName(QStringLiteral("lblPortAdvice"));
    ui->gridLayout->addWidget(portAdvice, ui->gridLayout->rowCount(), 0, 1, 3);
    portBox = new PortBox(ui->cmbComPorts, portAdvice, this);

    connect(ui->btnEnumerate, &QPushButton::clicked, this, &ComPortPage::onRefresh);
    connect(ui->btnConnect, &QPushButton::clicked, this, &ComPortPage::onConnect);
    connect(connection, &ComConnection::connectionStateChanged, this, &ComPortPage::updateConnectionState);
    connect(connection, &ComConnection::modelDataUpdate, this, &ComPortPage::modelDataUpdate);
}

ComPortPage::~ComPortPage()
{
    // The listing posts its result to this page; what it posts goes with the page.
    if (portListing.valid())
        portListing.wait();
}

bool ComPortPage::isComplete() const
{
    return QWizardPage::isComplete() && connection->getConnectionState() == Connected && reading.isComplete();
}

void ComPortPage::initializePage()
{
    if (portList || portListing.valid())
        return;
    // Going through the system's serial devices takes longer than showing the window, so the
    // list is made on a worker thread and shown when it is ready.
    QThread *pageThread = thread();
    portListing = std::async(std::launch::async, [this, pageThread] {
        auto listed = std::make_shared<std::unique_ptr<ComListModel>>(std::make_unique<ComListModel>());
        (*listed)->moveToThread(pageThread);
        QMetaObject::invokeMethod(this, [this, listed] { showPortList(std::move(*listed)); }, Qt::QueuedConnection);
    });
}

void ComPortPage::showPortList(std::unique_ptr<ComListModel> listed)
{
    // A refresh in the meantime listed the ports anew.
    if (portList)
        return;
    portList = std::move(listed);
    portBox->show(portList.get());
}

void ComPortPage::onRefresh()
{
    if (!portList) {
        showPortList(std::make_unique<ComListModel>());
        return;
    }
    portBox->refresh();
}

void ComPortPage::onConnect()
{
    setButtonsEnabled(false);
    const QString port = portBox->chosenPortName();
    if (port.isEmpty()) {
        setButtonsEnabled(true);
        showPortProblem(PortBox::nothingToOpenText());
        return;
    }
    openedPort = port;
    connection->open(port, false);
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
    const bool verdictChanged = reading.noteState(newState, error);
    ui->lblConnectionStatus->setText(text);
    showPortProblem(error == FailedToOpen ? PortDiagnosis::reason(openedPort) : reading.text());
    if (newState == Connected && error == NoError)
        PortBox::remember(openedPort);
    if (ConnectionStatus::linkEnded(newState, error))
        setButtonsEnabled(true);
    if (verdictChanged)
        emit completeChanged();
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
        if (acceptance.checkModel(*data) == DeviceAcceptance::Verdict::Accepted) {
            DeviceAcceptance::showModel(*data->deviceModel, ui->txtDeviceModel, ui->lblImage);
            reading.modelAccepted(*data->deviceModel);
            showPortProblem(reading.text());
        }
        return;
    }
    if ((updateBits & FirmwareVersionUpdate) && acceptance.checkFirmware(*data) == DeviceAcceptance::Verdict::Accepted)
        reading.firmwareAccepted();
    else if (!reading.noteBlock(updateBits))
        return;
    showPortProblem(reading.text());
    // The way on opens only once the last value has arrived.
    emit completeChanged();
}
