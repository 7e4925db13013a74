// SPDX-License-Identifier: GPL-3.0-or-later
// The main window opened by "--legacy": the state table, the tabs each model gets, the model and
// firmware checks, the values of every block, and the FIT export built from what it shows.

#include "FileDialogAnswerer.h"
#include "ListedPort.h"
#include "MessageBoxAnswerer.h"
#include "ReadCutShort.h"
#include "TestSettings.h"
#include "tests/outpost/FitReader.h"
#include "tests/support/Screenshot.h"

#include "velodesk/BikeTabPage.h"
#include "velodesk/MainWindow.h"
#include "velodesk/Startup.h"

#include "linkhub/ComConnection.h"
#include "linkhub/QextSerialEnumerator.h"
#include "tools/simulator/SimulatedBikeComputer.h"

#include <QComboBox>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTabWidget>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>

namespace {
// Identification at 600 baud and every read of a model at 9600 baud, with room to spare.
constexpr int deviceWaitMs = 10000;

// FIT session message and the fields compared with the window.
constexpr quint16 sessionMessage = 18;
constexpr quint8 sessionTimerTime = 8;
constexpr quint8 sessionCalories = 11;
constexpr quint8 sessionAvgSpeed = 14;
constexpr quint8 sessionMaxSpeed = 15;
constexpr quint8 sessionAvgHeartRate = 16;
constexpr quint8 sessionMaxHeartRate = 17;
constexpr quint8 sessionTotalAscent = 22;
constexpr quint8 sessionTotalDescent = 23;
constexpr quint8 sessionMaxTemperature = 58;


/// A device playing the model, offered in the port list.
std::unique_ptr<SimulatedBikeComputer> listedDevice(int modelId)
{
    auto device = std::make_unique<SimulatedBikeComputer>(quint8(modelId));
    if (!device->start())
        return nullptr;
    ListedPort::offer(device->portName());
    return device;
}

template <typename Widget>
Widget *find(const QWidget &window, const char *name)
{
    return window.findChild<Widget *>(QString::fromLatin1(name));
}

QStringList tabTitles(const QTabWidget *tabs)
{
    QStringList titles;
    for (int index = 0; index < tabs->count(); ++index)
        titles.append(tabs->tabText(index));
    return titles;
}

int spinValue(const QWidget &window, const char *name)
{
    return find<QSpinBox>(window, name)->value();
}

}

class MainWindowTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanup();
    void widgets();
    void stateTable_data();
    void stateTable();
    void portThatDoesNotOpenIsExplained();
    void closingWhileConnected();
    void tabsPerModel_data();
    void tabsPerModel();
    void refusedDevices_data();
    void refusedDevices();
    void valuesFromEachBlock_data();
    void valuesFromEachBlock();
    void exportWaitsForTheRide();
    void exportWaitsForEveryValue_data();
    void exportWaitsForEveryValue();
    void exportsWhatItShows();
    void failedExportIsTold();
    void boxesHoldWhatTheFileHolds_data();
    void boxesHoldWhatTheFileHolds();
    void deviceValuesBeyondTheBoxesAreLeftOut();
    void savedNameGetsTheFitEnding_data();
    void savedNameGetsTheFitEnding();
    void unitsBesideTheBoxes_data();
    void unitsBesideTheBoxes();

private:
    /// Refreshes the port list, presses "Connect to Device" and waits until the export is usable,
    /// which takes the bikes' values.
    static bool connectWindow(MainWindow &window);

    std::unique_ptr<TestSettings> settings;
    QTemporaryDir outputFolder;
};

void MainWindowTest::initTestCase()
{
    settings = std::make_unique<TestSettings>();
    QVERIFY(settings->isIsolated());
    Startup::registerMetaTypes();
    QVERIFY(outputFolder.isValid());
}

void MainWindowTest::cleanup()
{
    QextSerialEnumerator::setPortSource({});
}

bool MainWindowTest::connectWindow(MainWindow &window)
{
    QTest::mouseClick(find<QPushButton>(window, "btnEnumerate"), Qt::LeftButton);
    QTest::mouseClick(find<QPushButton>(window, "btnConnect"), Qt::LeftButton);
    return QTest::qWaitFor([&] { return find<QPushButton>(window, "exportFitButton")->isEnabled(); }, deviceWaitMs);
}

void MainWindowTest::widgets()
{
    MainWindow window;
    QCOMPARE(window.windowTitle(), QStringLiteral("Velquist Pacerow"));
    QVERIFY(!window.windowIcon().isNull());
    QCOMPARE(find<QLabel>(window, "lblAvailableComPorts")->text(), QStringLiteral("COM-ports:"));
    QCOMPARE(find<QPushButton>(window, "btnDisconnect")->text(), QStringLiteral("Disconnect"));
    QCOMPARE(find<QPushButton>(window, "exportFitButton")->text(), QStringLiteral("&Export"));
    QCOMPARE(find<QLabel>(window, "txtDeviceModel")->text(), QStringLiteral("None"));
    // The construction applies the link's state: closed, nothing to export, no tabs.
    QCOMPARE(find<QLabel>(window, "lblConnectionStatus")->text(), QStringLiteral("Connection closed"));
    QVERIFY(find<QPushButton>(window, "btnConnect")->isEnabled());
    QVERIFY(!find<QPushButton>(window, "exportFitButton")->isEnabled());
    QVERIFY(find<QRadioButton>(window, "bike1RadioButton")->isChecked());
    auto *tabs = find<QTabWidget>(window, "tabWidget");
    QVERIFY(tabs->isHidden());
    QCOMPARE(tabTitles(tabs), QStringList({"Time", "Altitude", "Heart Rate", "Bikes"}));
    QCOMPARE(tabs->currentWidget()->objectName(), QStringLiteral("locationTimeTab"));
    QCOMPARE(tabTitles(find<QTabWidget>(window, "tabWidgetBikes")), QStringList({"Bike 1", "Bike 2"}));
    QCOMPARE(find<QDateEdit>(window, "dateEdit")->date(), QDate::currentDate());
    QStringList altitudeLabels;
    for (const QLabel *label : find<QWidget>(window, "altitudeTab")->findChildren<QLabel *>())
        altitudeLabels.append(label->text());
    QVERIFY(altitudeLabels.contains(QStringLiteral("Maximun Altitude:")));
    QVERIFY(altitudeLabels.contains(QStringLiteral("Asc. Max. Gardient:")));
    QCOMPARE(altitudeLabels.size(), 13);
}

void MainWindowTest::stateTable_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("linkOn");
    QTest::addColumn<bool>("closed");

    // Every row starts from a window closed by the user while connected, so the link is closing.
    const QString unchanged = QStringLiteral("Connection closing...");
    QTest::newRow("Closed") << int(Closed) << int(NoError) << "Connection closed" << false << true;
    QTest::newRow("Opening") << int(Opening) << int(NoError) << "Connection opening..." << true << false;
    QTest::newRow("WaitingForAnswer") << int(WaitingForAnswer) << int(NoError) << "Waiting for answer..." << true << false;
    QTest::newRow("Connected") << int(Connected) << int(NoError) << "Connected" << true << false;
    QTest::newRow("Closing") << int(Closing) << int(NoError) << "Connection closing..." << false << false;
    QTest::newRow("Error") << int(Error) << int(NoError) << "Connection error" << false << true;
    QTest::newRow("FailedToOpen") << int(Error) << int(FailedToOpen) << "Failed to open connection" << false << true;
    QTest::newRow("UnknownDeviceType, state ignored")
        << int(Connected) << int(UnknownDeviceType) << "Unknown device type" << false << true;
    QTest::newRow("ConnectionLost") << int(Closing) << int(ConnectionLost) << "Connection lost" << false << true;
    QTest::newRow("unknown state") << 6 << int(NoError) << unchanged << false << false;
    QTest::newRow("unknown error") << int(Connected) << 4 << unchanged << false << false;
}

void MainWindowTest::stateTable()
{
    QFETCH(int, state);
    QFETCH(int, error);
    QFETCH(QString, text);
    QFETCH(bool, linkOn);
    QFETCH(bool, closed);

    const auto device = listedDevice(0x51);
    QVERIFY(device);
    // The device never confirms the close, so the link stays in Closing while the row is tried.
    device->setHandler(CloseSession, [](ModelData &, const RequestFrame &) { return std::nullopt; });
    MainWindow window;
    QSignalSpy closes(&window, &MainWindow::closed);
    window.show();
    QVERIFY(connectWindow(window));
    window.close();
    QVERIFY(window.isHidden());
    QCOMPARE(closes.count(), 0);
    QCOMPARE(window.getConnection()->getConnectionState(), Closing);
    window.show();

    emit window.getConnection()->connectionStateChanged(ConnectionState(state), ErrorMessage(error));
    QCOMPARE(find<QLabel>(window, "lblConnectionStatus")->text(), text);
    for (const char *name : {"cmbComPorts", "btnEnumerate", "btnConnect"})
        QVERIFY2(find<QWidget>(window, name)->isEnabled() == !linkOn, name);
    for (const char *name : {"btnDisconnect", "bike1RadioButton", "bike2RadioButton"})
        QVERIFY2(find<QWidget>(window, name)->isEnabled() == linkOn, name);
    QCOMPARE(find<QTabWidget>(window, "tabWidget")->isVisible(), linkOn);
    // The record is dropped at every state change: nothing to export until the next block.
    QVERIFY(!find<QPushButton>(window, "exportFitButton")->isEnabled());
    QCOMPARE(closes.count(), closed ? 1 : 0);
    QCOMPARE(window.isVisible(), !closed);
}

void MainWindowTest::portThatDoesNotOpenIsExplained()
{
    ListedPort::offer(QStringLiteral("/dev/no-such-port"));
    MainWindow window;
    QTest::mouseClick(find<QPushButton>(window, "btnConnect"), Qt::LeftButton);
    QTRY_COMPARE(find<QLabel>(window, "lblConnectionStatus")->text(), QStringLiteral("Failed to open connection"));
    QCOMPARE(window.statusBar()->currentMessage(),
             QStringLiteral("There is no port /dev/no-such-port: check the cable and the port name."));
}

void MainWindowTest::closingWhileConnected()
{
    const auto device = listedDevice(0x23);
    QVERIFY(device);
    MainWindow window;
    QSignalSpy closes(&window, &MainWindow::closed);
    window.show();
    QVERIFY(connectWindow(window));
    QCOMPARE(window.getConnection()->getConnectionState(), Connected);

    window.close();
    QVERIFY(window.isHidden());
    QCOMPARE(closes.count(), 0);
    QTRY_COMPARE_WITH_TIMEOUT(closes.count(), 1, deviceWaitMs);
    QCOMPARE(window.getConnection()->getConnectionState(), Closed);
    QVERIFY(device->requestCodes().contains(quint8(CloseSession)));

    // Not connected, the window closes at once.
    window.show();
    window.close();
    QCOMPARE(closes.count(), 2);
}

void MainWindowTest::tabsPerModel_data()
{
    QTest::addColumn<int>("modelId");
    QTest::addColumn<QStringList>("tabs");

    QTest::newRow("Lumo 20") << 0x21 << QStringList{"Time", "Bikes"};
    QTest::newRow("Lumo 40") << 0x22 << QStringList{"Time", "Heart Rate", "Bikes"};
    QTest::newRow("Lumo 50") << 0x23 << QStringList{"Time", "Altitude", "Heart Rate", "Bikes"};
    QTest::newRow("Lumo 60") << 0x51 << QStringList{"Time", "Altitude", "Heart Rate", "Bikes"};
}

void MainWindowTest::tabsPerModel()
{
    QFETCH(int, modelId);
    QFETCH(QStringList, tabs);

    const auto device = listedDevice(modelId);
    QVERIFY(device);
    MainWindow window;
    window.show();
    QVERIFY(connectWindow(window));
    QCOMPARE(find<QLabel>(window, "txtDeviceModel")->text(), device->model()->name);
    QVERIFY(find<QLabel>(window, "lblImage")->isVisible());
    QCOMPARE(tabTitles(find<QTabWidget>(window, "tabWidget")), tabs);
    QVERIFY(find<QTabWidget>(window, "tabWidget")->isEnabled());
    QVERIFY(find<QTabWidget>(window, "tabWidgetBikes")->isTabEnabled(1));
}

void MainWindowTest::refusedDevices_data()
{
    QTest::addColumn<int>("modelId");
    QTest::addColumn<int>("firmware");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");

    const QString oldFirmware = QStringLiteral("The device firmware is not supported by this Application!\n"
                                               "Please update your device with the Tunedock tool!");
    QTest::newRow("Lumo 10") << 0x11 << 31 << "Device unsupported" << "This device is not supported!";
    QTest::newRow("Lumo 70") << 0x61 << 10 << "Device unsupported" << "This device is not supported!";
    QTest::newRow("Lumo 20, firmware 29") << 0x21 << 29 << "Firmware unsupported" << oldFirmware;
    QTest::newRow("Lumo 60, firmware 11") << 0x51 << 11 << "Firmware unsupported" << oldFirmware;
}

void MainWindowTest::refusedDevices()
{
    QFETCH(int, modelId);
    QFETCH(int, firmware);
    QFETCH(QString, title);
    QFETCH(QString, text);

    const auto device = listedDevice(modelId);
    QVERIFY(device);
    device->setFirmwareVersion(firmware);
    MainWindow window;
    window.show();
    MessageBoxAnswerer answerer;
    QTest::mouseClick(find<QPushButton>(window, "btnEnumerate"), Qt::LeftButton);
    QTest::mouseClick(find<QPushButton>(window, "btnConnect"), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(answerer.boxes().size(), 1, deviceWaitMs);
    QCOMPARE(answerer.boxes().first().title, title);
    QCOMPARE(answerer.boxes().first().text, text);
    QTRY_COMPARE_WITH_TIMEOUT(find<QLabel>(window, "lblConnectionStatus")->text(), QStringLiteral("Connection closed"),
                              deviceWaitMs);
    QCOMPARE(find<QLabel>(window, "txtDeviceModel")->text(), QStringLiteral("None"));
    QVERIFY(find<QPushButton>(window, "btnConnect")->isEnabled());
    QVERIFY(!find<QPushButton>(window, "exportFitButton")->isEnabled());
    QVERIFY(!device->requestCodes().contains(quint8(ReadBike1Settings)));
}

void MainWindowTest::valuesFromEachBlock_data()
{
    QTest::addColumn<int>("modelId");
    QTest::addColumn<int>("unitSystem");
    QTest::addColumn<QString>("daily");
    QTest::addColumn<QString>("total");

    // Bike 1 rode 12345678 mm of 1234567890 mm on the odometer.
    QTest::newRow("Lumo 60, metric") << 0x51 << 0 << "12.346" << "1234.568";
    QTest::newRow("Lumo 50, imperial: miles") << 0x23 << 1 << "7.671" << "767.125";
}

void MainWindowTest::valuesFromEachBlock()
{
    QFETCH(int, modelId);
    QFETCH(int, unitSystem);
    QFETCH(QString, daily);
    QFETCH(QString, total);

    const auto device = listedDevice(modelId);
    QVERIFY(device);
    ModelData values = device->values();
    values.unitSystem = unitSystem;
    values.bikes[0].dailyDistance = 12345678;
    values.bikes[0].totalDistance = 1234567890;
    values.bikes[0].avgSpeed = 250;
    values.bikes[1].maxSpeed = 612;
    values.dailyMinTemp = -7;
    values.dailyMaxTemp = 21;
    values.hrInZoneHour = 1;
    values.hrInZoneMin = 2;
    values.hrInZoneSec = 3;
    device->setValues(values);
    MainWindow window;
    window.show();
    QVERIFY(connectWindow(window));
    const ModelData &read = *window.getConnection()->getData();
    const QWidget &bike1 = *find<QTabWidget>(window, "tabWidgetBikes")->widget(0);
    const QWidget &bike2 = *find<QTabWidget>(window, "tabWidgetBikes")->widget(1);
    QTRY_COMPARE_WITH_TIMEOUT(find<QLineEdit>(bike1, "txtBikeDaily")->text(), daily, deviceWaitMs);
    QTRY_COMPARE_WITH_TIMEOUT(find<QDoubleSpinBox>(bike2, "maxSpeedSpinBox")->value(), 61.2, deviceWaitMs);

    QCOMPARE(find<QLineEdit>(bike1, "txtBikeTotal")->text(), total);
    QCOMPARE(find<QDoubleSpinBox>(bike1, "avgSpeedSpinBox")->value(), 25.0); // km/h on either device
    const Bike &bike = read.bikes[0];
    QCOMPARE(find<QTimeEdit>(bike1, "rideTimeTimeEdit")->time(), QTime(bike.rideTimeHour, bike.rideTimeMin, bike.rideTimeSec));
    QCOMPARE(spinValue(bike1, "altGainSpinBox"), int(bike.altGain));
    QCOMPARE(spinValue(bike1, "maxAltSpinBox"), int(bike.maxAlt));

    const QWidget &altitude = *find<QWidget>(window, "altitudeTab");
    QCOMPARE(spinValue(altitude, "minTempSpinBox"), -7);
    QCOMPARE(spinValue(altitude, "maxTempSpinBox"), 21);
    QCOMPARE(spinValue(altitude, "altGainSpinBox"), int(read.dailyAltGain));
    QCOMPARE(spinValue(altitude, "maxAltSpinBox"), int(read.dailyMaxAlt));
    QCOMPARE(spinValue(altitude, "descMaxVarioSpinBox"), int(read.descentMaxVario));
    QCOMPARE(spinValue(window, "avgHrSpinBox"), int(read.avgHeartRate));
    QCOMPARE(spinValue(window, "caloriesSpinBox"), int(read.dailyCalories));
    QCOMPARE(find<QTimeEdit>(window, "inZoneHrTimeEdit")->time(), QTime(1, 2, 3));

    if (unitSystem == 0) {
        auto *tabs = find<QTabWidget>(window, "tabWidget");
        for (int index = 0; index < tabs->count(); ++index) {
            tabs->setCurrentIndex(index);
            saveScreenshot(window, QStringLiteral("legacy-%1").arg(index + 1));
        }
    }
}

void MainWindowTest::exportWaitsForTheRide()
{
    // Identified, but the firmware question goes unanswered: no value of the day has come.
    const auto device = listedDevice(0x51);
    QVERIFY(device);
    device->setHandler(ReadFirmwareVersion, [](ModelData &, const RequestFrame &) { return std::nullopt; });
    MainWindow window;
    window.show();
    QTest::mouseClick(find<QPushButton>(window, "btnEnumerate"), Qt::LeftButton);
    QTest::mouseClick(find<QPushButton>(window, "btnConnect"), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(find<QLabel>(window, "txtDeviceModel")->text(), QStringLiteral("Lumo 60"), deviceWaitMs);
    QVERIFY(find<QPushButton>(window, "btnDisconnect")->isEnabled());
    QVERIFY(!find<QPushButton>(window, "exportFitButton")->isEnabled());
}

void MainWindowTest::exportWaitsForEveryValue_data()
{
    ReadCutShort::addRows();
}

void MainWindowTest::exportWaitsForEveryValue()
{
    QFETCH(int, fault);
    QFETCH(int, count);
    QFETCH(QString, missing);

    const auto device = listedDevice(0x51);
    QVERIFY(device);
    device->setFault(FaultMode(fault), count);
    MainWindow window;
    window.show();
    window.getConnection()->setAnswerTimeout(std::chrono::milliseconds(1000));
    auto *exportButton = find<QPushButton>(window, "exportFitButton");
    bool exportEverUsable = false;
    QObject::connect(window.getConnection(), &ComConnection::modelDataUpdate, &window,
                     [&] { exportEverUsable = exportEverUsable || exportButton->isEnabled(); });
    QTest::mouseClick(find<QPushButton>(window, "btnEnumerate"), Qt::LeftButton);
    QTest::mouseClick(find<QPushButton>(window, "btnConnect"), Qt::LeftButton);
    QTRY_COMPARE_WITH_TIMEOUT(window.statusBar()->currentMessage(),
                              QStringLiteral("Not every value arrived; missing: %1. Connect again to read them.").arg(missing),
                              deviceWaitMs);
    QVERIFY(!exportEverUsable);
    QVERIFY(!exportButton->isEnabled());
}

void MainWindowTest::exportsWhatItShows()
{
    const auto device = listedDevice(0x51);
    QVERIFY(device);
    MainWindow window;
    window.show();
    QVERIFY(connectWindow(window));
    auto *bike2 = find<QTabWidget>(window, "tabWidgetBikes")->widget(1);
    QTRY_VERIFY_WITH_TIMEOUT(find<QDoubleSpinBox>(*bike2, "maxSpeedSpinBox")->value() > 0, deviceWaitMs);

    // The user corrects values on the tabs and exports bike 2's ride of a chosen start.
    bike2->findChild<QDoubleSpinBox *>(QStringLiteral("avgSpeedSpinBox"))->setValue(23.4);
    bike2->findChild<QTimeEdit *>(QStringLiteral("rideTimeTimeEdit"))->setTime(QTime(1, 2, 3));
    bike2->findChild<QSpinBox *>(QStringLiteral("altGainSpinBox"))->setValue(456);
    find<QSpinBox>(window, "maxTempSpinBox")->setValue(-3);
    find<QSpinBox>(window, "caloriesSpinBox")->setValue(789);
    find<QDateEdit>(window, "dateEdit")->setDate(QDate(2024, 3, 16));
    find<QTimeEdit>(window, "timeEdit")->setTime(QTime(9, 30, 15));
    find<QRadioButton>(window, "bike2RadioButton")->setChecked(true);

    const QString path = outputFolder.filePath(QStringLiteral("legacy.fit"));
    FileDialogAnswerer dialogs(path);
    QTest::mouseClick(find<QPushButton>(window, "exportFitButton"), Qt::LeftButton);
    QCOMPARE(dialogs.dialogs().size(), 1);
    QCOMPARE(dialogs.dialogs().first().caption, QStringLiteral("Save to FIT"));
    QCOMPARE(dialogs.dialogs().first().nameFilters, QStringList{"Fit files (*.fit)"});

    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const FitFile fit = FitReader::read(written.readAll());
    QVERIFY2(fit.isValid(), qPrintable(fit.error));
    const FitMessage session = fit.messagesOf(sessionMessage).first();
    const auto field = [&session](quint8 number) { return session.field(number) ? session.field(number)->raw() : 0; };
    QCOMPARE(field(sessionTimerTime), quint64(3723 * 1000));
    QCOMPARE(field(sessionAvgSpeed), quint64(6500)); // 23.4 km/h in mm/s
    const double maxSpeed = bike2->findChild<QDoubleSpinBox *>(QStringLiteral("maxSpeedSpinBox"))->value();
    QCOMPARE(field(sessionMaxSpeed), quint64(qRound(maxSpeed / 3.6 * 1000)));
    QCOMPARE(field(sessionTotalAscent), quint64(456));
    QCOMPARE(qint64(field(sessionTotalDescent)),
             qint64(bike2->findChild<QSpinBox *>(QStringLiteral("altLossSpinBox"))->value()));
    QCOMPARE(field(sessionCalories), quint64(789));
    QCOMPARE(qint64(field(sessionAvgHeartRate)), qint64(spinValue(window, "avgHrSpinBox")));
    QCOMPARE(qint64(field(sessionMaxHeartRate)), qint64(spinValue(window, "maxHrSpinBox")));
    QCOMPARE(session.field(sessionMaxTemperature)->signedRaw(), qint64(-3));
    // The export wrote a copy: the link's record still holds what the device said.
    QCOMPARE(window.getConnection()->getData()->bikes[1].avgSpeed, device->values().bikes[1].avgSpeed);
}

void MainWindowTest::failedExportIsTold()
{
    const auto device = listedDevice(0x22);
    QVERIFY(device);
    MainWindow window;
    window.show();
    QVERIFY(connectWindow(window));

    const QString path = outputFolder.filePath(QStringLiteral("no-such-folder/ride.fit"));
    MessageBoxAnswerer boxes;
    FileDialogAnswerer dialogs(path);
    QTest::mouseClick(find<QPushButton>(window, "exportFitButton"), Qt::LeftButton);
    QCOMPARE(dialogs.dialogs().size(), 1);
    QCOMPARE(boxes.boxes().size(), 1);
    QCOMPARE(boxes.boxes().first().title, QStringLiteral("Exporting failed"));
    QCOMPARE(boxes.boxes().first().icon, QMessageBox::Critical);
    QCOMPARE(boxes.boxes().first().informativeText,
             QStringLiteral("%1 could not be written: No such file or directory.").arg(path));
    QVERIFY(window.isVisible());
    QCOMPARE(window.getConnection()->getConnectionState(), Connected);
    QVERIFY(find<QPushButton>(window, "exportFitButton")->isEnabled());
}

void MainWindowTest::deviceValuesBeyondTheBoxesAreLeftOut()
{
    const auto device = listedDevice(0x51);
    QVERIFY(device);
    ModelData values = device->values();
    values.bikes[0].maxSpeed = 2500; // 250.0 km/h: a sensor glitch
    values.dailyCalories = 70000;
    device->setValues(values);
    MainWindow window;
    window.show();
    QVERIFY(connectWindow(window));
    QTRY_COMPARE_WITH_TIMEOUT(spinValue(window, "caloriesSpinBox"), 65534, deviceWaitMs);

    // The boxes show the most they hold; the file gets no made-up value but leaves these out.
    const QString path = outputFolder.filePath(QStringLiteral("glitch.fit"));
    MessageBoxAnswerer boxes;
    FileDialogAnswerer dialogs(path);
    QTest::ignoreMessage(QtWarningMsg, "FIT field session.total_calories cannot hold 70000 kcal (left out)");
    QTest::ignoreMessage(QtWarningMsg, "FIT field session.max_speed cannot hold 69.4444 m/s (left out)");
    QTest::mouseClick(find<QPushButton>(window, "exportFitButton"), Qt::LeftButton);
    QCOMPARE(boxes.boxes().size(), 1);
    QCOMPARE(boxes.boxes().first().title, QStringLiteral("Values left out"));
    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const FitMessage session = FitReader::read(written.readAll()).messagesOf(sessionMessage).first();
    QCOMPARE(session.field(sessionCalories)->raw(), quint64(0xFFFF));
    QCOMPARE(session.field(sessionMaxSpeed)->raw(), quint64(0xFFFF));
    QCOMPARE(session.field(sessionAvgSpeed)->raw(), quint64(qRound(values.bikes[0].avgSpeed / 36.0 * 1000)));
}

void MainWindowTest::boxesHoldWhatTheFileHolds_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<double>("largest");

    QTest::newRow("calories") << "caloriesSpinBox" << 65534.0;
    QTest::newRow("heart rate") << "maxHrSpinBox" << 254.0;
    QTest::newRow("temperature") << "maxTempSpinBox" << 126.0;
    QTest::newRow("gradient") << "descMaxGradientSpinBox" << 327.0;
    QTest::newRow("bike speed") << "maxSpeedSpinBox" << 235.9;
    QTest::newRow("bike altitude gain") << "altGainSpinBox" << 65534.0;
    QTest::newRow("bike maximum altitude") << "maxAltSpinBox" << 12606.0;
}

void MainWindowTest::boxesHoldWhatTheFileHolds()
{
    QFETCH(QString, box);
    QFETCH(double, largest);

    MainWindow window;
    // Bike boxes by the name they share with the Altitude tab: the first bike's page.
    QWidget *scope = box.startsWith(QLatin1String("maxSpeed")) || box == QLatin1String("altGainSpinBox")
            || box == QLatin1String("maxAltSpinBox")
        ? find<QTabWidget>(window, "tabWidgetBikes")->widget(0)
        : static_cast<QWidget *>(&window);
    auto *spin = scope->findChild<QAbstractSpinBox *>(box);
    QVERIFY(spin);
    const double maximum = qobject_cast<QDoubleSpinBox *>(spin) ? qobject_cast<QDoubleSpinBox *>(spin)->maximum()
                                                                 : qobject_cast<QSpinBox *>(spin)->maximum();
    QCOMPARE(maximum, largest);
}

void MainWindowTest::savedNameGetsTheFitEnding_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("written");

    QTest::newRow("no ending") << "ride1" << "ride1.fit";
    QTest::newRow("an ending of its own stays") << "ride2.FIT" << "ride2.FIT";
}

void MainWindowTest::savedNameGetsTheFitEnding()
{
    QFETCH(QString, typed);
    QFETCH(QString, written);

    const auto device = listedDevice(0x21);
    QVERIFY(device);
    MainWindow window;
    window.show();
    QVERIFY(connectWindow(window));
    const QString path = outputFolder.filePath(written);
    QFile::remove(path);
    FileDialogAnswerer dialogs(outputFolder.filePath(typed));
    QTest::mouseClick(find<QPushButton>(window, "exportFitButton"), Qt::LeftButton);
    QCOMPARE(dialogs.dialogs().size(), 1);
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QVERIFY(FitReader::read(file.readAll()).isValid());
    QCOMPARE(window.statusBar()->currentMessage(), QStringLiteral("Written to %1").arg(path));
}

void MainWindowTest::unitsBesideTheBoxes_data()
{
    QTest::addColumn<int>("unitSystem");
    QTest::addColumn<QStringList>("units"); // widget, unit, widget, unit...

    const QStringList always{"maxTempSpinBox", " °C", "descMaxGradientSpinBox", " %", "ascAvgVarioSpinBox", " m/h",
                             "caloriesSpinBox", " kcal", "maxHrSpinBox", " bpm", "avgSpeedSpinBox", " km/h",
                             "maxAltSpinBox", " m"};
    QTest::newRow("metric") << 0 << always + QStringList{"dailyUnitLabel", "km", "totalUnitLabel", "km"};
    // Distances follow the device's unit system; speeds are shown in km/h either way.
    QTest::newRow("imperial") << 1 << always + QStringList{"dailyUnitLabel", "mi", "totalUnitLabel", "mi"};
}

void MainWindowTest::unitsBesideTheBoxes()
{
    QFETCH(int, unitSystem);
    QFETCH(QStringList, units);

    MainWindow window;
    auto *bikePage = qobject_cast<BikeTabPage *>(find<QTabWidget>(window, "tabWidgetBikes")->widget(0));
    QVERIFY(bikePage);
    bikePage->showBike(Bike(), unitSystem);
    for (qsizetype i = 0; i + 1 < units.size(); i += 2) {
        const QString &name = units.at(i);
        // Bike boxes share names with the Altitude tab's: the bike page is searched first.
        QWidget *shown = bikePage->findChild<QWidget *>(name);
        if (!shown)
            shown = window.findChild<QWidget *>(name);
        QVERIFY2(shown, qPrintable(name));
        const QString unit = qobject_cast<QLabel *>(shown)            ? qobject_cast<QLabel *>(shown)->text()
            : qobject_cast<QDoubleSpinBox *>(shown) ? qobject_cast<QDoubleSpinBox *>(shown)->suffix()
                                                    : qobject_cast<QSpinBox *>(shown)->suffix();
        QCOMPARE(unit, units.at(i + 1));
    }
}

QTEST_MAIN(MainWindowTest)
#include "tst_mainwindow.moc"
