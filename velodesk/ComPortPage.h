// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "velodesk/DeviceAcceptance.h"
#include "velodesk/ValueReading.h"

#include "linkhub/ConnectionState.h"

#include <QWizardPage>

#include <future>
#include <memory>

class ComConnection;
class ComListModel;
class ModelData;
class PortBox;

namespace Ui {
class ComPortPage;
}

/// Page 1: picks the serial port, connects, shows the identified model and checks that the
/// model and its firmware are supported before the device is read. A commit page.
class ComPortPage : public QWizardPage
{
    Q_OBJECT

public:
    /// The connection stays the caller's.
    explicit ComPortPage(ComConnection *connection, QWidget *parent = nullptr);
    ~ComPortPage() override;

    /// True while the link is connected and every value of the model's list has arrived.
    bool isComplete() const override;
    /// Starts listing the ports the first time the page is shown.
    void initializePage() override;
    /// True once the list of ports is shown.
    bool hasPortList() const { return portList != nullptr; }

private slots:
    void onRefresh();
    void onConnect();
    void updateConnectionState(ConnectionState newState, ErrorMessage error);
    void modelDataUpdate(ModelData *data, int updateBits);

private:
    void showPortList(std::unique_ptr<ComListModel> listed);
    void setButtonsEnabled(bool enabled);
    /// Below the status line: why the port did not open, how the values come, or nothing.
    void showPortProblem(const QString &text);

    std::unique_ptr<Ui::ComPortPage> ui;
    ComConnection *connection;
    std::unique_ptr<ComListModel> portList; // null until the page was first shown and listed the ports
    std::future<void> portListing; // made on a worker thread when the page is first shown
    PortBox *portBox;
    DeviceAcceptance acceptance;
    ValueReading reading;
    QString openedPort; // the port of the last open, for explaining why it failed
};
