// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "velodesk/DeviceAcceptance.h"
#include "velodesk/ValueReading.h"

#include "linkhub/ConnectionState.h"

#include <QList>
#include <QMainWindow>
#include <QString>

#include <memory>

class BikeTabPage;
class ComConnection;
class ComListModel;
class DeviceModel;
class ModelData;
class PortBox;
class QCloseEvent;

namespace Ui {
class MainWindow;
}

/// The older single window: connects to the device, shows every value of the day on tabs, lets
/// the user change them and writes a FIT file from what it shows, for the chosen date, time
/// and bike. It refuses the same devices as the wizard and closes the link before it goes.
class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget *parent = nullptr);
    ~MainWindow() override;

    ComConnection *getConnection() const { return connection.get(); }

signals:
    /// The window has closed (also when it was hidden, waiting for the link): the program may end.
    void closed();

protected:
    /// While connected, the window hides and closes only once the link has closed.
    void closeEvent(QCloseEvent *event) override;

private slots:
    void exportToFit();
    void enumerateComPorts();
    void connectComPort();
    void disconnectComPort();
    void updateConnectionState(ConnectionState newState, ErrorMessage error = NoError);
    void updateModelData(ModelData *modelData, int updatedData);

private:
    /// Boxes whose values go into the FIT file take no more than its fields hold.
    void limitBoxesToTheFitFile();
    /// Each value box shows its unit after the value, as the values are shown.
    void showUnits();
    void showNoModel();
    /// The data tabs the model has, in their fixed order; the second bike's tab by its feature.
    void arrangeTabs(const DeviceModel &model);
    void showAltitude(const ModelData &data);
    void showHeartRate(const ModelData &data);
    /// Overwrites the values the tabs let the user change.
    void storeShownValues(ModelData &data) const;
    void setConnectControlsEnabled(bool enabled);
    void setLinkControlsOn(bool on);
    /// Export needs a record, and every value of the model's list read on this link.
    void updateExportButton();
    /// The status bar: why the port did not open, how the values come, or nothing.
    void showLinkNote(ErrorMessage error);

    std::unique_ptr<Ui::MainWindow> ui;
    std::unique_ptr<ComListModel> portList;
    PortBox *portBox;
    std::unique_ptr<ComConnection> connection;
    DeviceAcceptance acceptance;
    // The window's own copy of the last record received; dropped at every state change.
    std::unique_ptr<ModelData> record;
    ValueReading reading;
    bool linkControlsOn = false;
    bool closeRequested = false;
    QList<BikeTabPage *> bikePages;
    // The data tabs with their titles, in the order they are shown when present.
    QList<QPair<QWidget *, QString>> dataTabs;
    QString openedPort; // the port of the last open, for explaining why it failed
};
