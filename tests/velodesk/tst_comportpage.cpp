// SPDX-License-Identifier: GPL-3.0-or-later
// The connect page: the status line for every state report, the ports it opens (listed or
// typed), and the model and firmware checks made before the device is read.

#include "ListedPort.h"
#include "MessageBoxAnswerer.h"
#include "ReadCutShort.h"
#include "TestSettings.h"
#include "WizardDriver.h"

#include "velodesk/Startup.h"
#include "velodesk/WizardPageId.h"

#include "linkhub/ComConnection.h"
#include "linkhub/QextSerialEnumerator.h"
#include "tests/outpost/UnprivilegedFileAccess.h"
#include "tools/simulator/SimulatedBikeComputer.h"

#include <QComboBox>
#include <QFileInfo>
#include <QSerialPort>
#include <QTemporaryDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>

#include <unistd.h>

namespace {
constexpr int deviceWaitMs = int(WizardDriver::DeviceWait.count());
// The link asks for the clock every second once it reads a model; this covers one such turn with room to spare.
constexpr int pollTurnsMs = 1500;
// Wire time of a few requests at 600 baud.
constexpr int settleMs = 800;


bool readsModel(const SimulatedBikeComputer &device)
{
    const QList<quint8> codes = device.requestCodes();
    for (quint8 code : {ReadAltitude, ReadCurrentBike, ReadHeartRate, ReadDateTime, ReadBikeSettings,
                        ReadBike1Settings, ReadBike2Settings, ReadBikeAux, ReadModelOption}) {
        if (codes.contains(code))
            return true;
    }
    return false;
}
}

class ComPortPageTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void widgets();
    void statusLine_data();
    void statusLine();
    void modelAndFirmwareChecks_data();
    void modelAndFirmwareChecks();
    void nextWaitsForFirmwareApproval();
    void unknownModelReEnablesButtons();
    void pictureThatCannotBeLoaded();
    void opensListedPort();
    void typedNameWinsOverListedRow();
    void listedPortThatCannotBeOpened();
    void nothingToOpen();
    void refreshSelectsFirstRow();
    void portProblemIsExplained_data();
    void portProblemIsExplained();
    void firmwareVerdictFollowsTheReportsSeen();
    void readCutShortKeepsTheWayShut_data();
    void readCutShortKeepsTheWayShut();

private:
    std::unique_ptr<TestSettings> settings;
};

void ComPortPageTest::initTestCase()
{
    settings = std::make_unique<TestSettings>();
    QVERIFY(settings->isIsolated());
    Startup::registerMetaTypes();
}

void ComPortPageTest::init()
{
    settings->clear();
    TestSettings::setShowIntro(false);
    QextSerialEnumerator::setPortSource([] { return QList<QextPortInfo>(); });
}

void ComPortPageTest::cleanup()
{
    QextSerialEnumerator::setPortSource({});
}

void ComPortPageTest::widgets()
{
    WizardDriver driver;
    QCOMPARE(driver.wizard().currentId(), int(ComPortPageId));
    QWizardPage *page = driver.wizard().currentPage();
    QCOMPARE(page->subTitle(), QStringLiteral("Please choose the COM Port where your computer is connected to. After "
                                              "successfully connected you can click on the next button."));
    QCOMPARE(driver.find<QLabel>(QStringLiteral("lblAvailableComPorts"))->text(), QStringLiteral("COM-ports:"));
    QCOMPARE(driver.find<QPushButton>(QStringLiteral("btnEnumerate"))->text(), QStringLiteral("Refresh"));
    QCOMPARE(driver.find<QLabel>(QStringLiteral("lblConnectionStatus"))->text(), QStringLiteral("Not Connected"));
    QCOMPARE(driver.find<QPushButton>(QStringLiteral("btnConnect"))->text(), QStringLiteral("Connect to Device"));
    QCOMPARE(driver.find<QLabel>(QStringLiteral("lblDeviceModel"))->text(), QStringLiteral("Device Model:"));
    QCOMPARE(driver.find<QLabel>(QStringLiteral("txtDeviceModel"))->text(), QStringLiteral("None"));
    QVERIFY(driver.find<QLabel>(QStringLiteral("lblImage"))->pixmap().isNull());
    QVERIFY(driver.find<QFrame>(QStringLiteral("line")));
    QVERIFY(!driver.button(QWizard::CommitButton)->isEnabled());
}

void ComPortPageTest::statusLine_data()
{
    QTest::addColumn<int>("state");
    QTest::addColumn<int>("error");
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("buttonsUsable");

    const QString unchanged = QStringLiteral("Not Connected");
    QTest::newRow("Closed") << int(Closed) << int(NoError) << "Connection closed" << true;
    QTest::newRow("Opening") << int(Opening) << int(NoError) << "Connection opening..." << false;
    QTest::newRow("WaitingForAnswer") << int(WaitingForAnswer) << int(NoError) << "Waiting for answer..." << false;
    QTest::newRow("Connected") << int(Connected) << int(NoError) << "Connected" << false;
    QTest::newRow("Closing") << int(Closing) << int(NoError) << "Connection closing..." << false;
    QTest::newRow("Error") << int(Error) << int(NoError) << "Connection error" << true;
    QTest::newRow("unknown state") << 6 << int(NoError) << unchanged << false;
    QTest::newRow("FailedToOpen") << int(Error) << int(FailedToOpen) << "Failed to open connection" << true;
    QTest::newRow("UnknownDeviceType, state ignored")
        << int(Connected) << int(UnknownDeviceType) << "Unknown device type" << true;
    QTest::newRow("ConnectionLost") << int(Closing) << int(ConnectionLost) << "Connection lost" << true;
    QTest::newRow("unknown error") << int(Closed) << 4 << unchanged << false;
}

void ComPortPageTest::statusLine()
{
    QFETCH(int, state);
    QFETCH(int, error);
    QFETCH(QString, text);
    QFETCH(bool, buttonsUsable);

    WizardDriver driver;
    auto *connect = driver.find<QPushButton>(QStringLiteral("btnConnect"));
    auto *refresh = driver.find<QPushButton>(QStringLiteral("btnEnumerate"));
    connect->setEnabled(false);
    refresh->setEnabled(false);
    emit driver.connection().connectionStateChanged(ConnectionState(state), ErrorMessage(error));
    QCOMPARE(driver.find<QLabel>(QStringLiteral("lblConnectionStatus"))->text(), text);
    QCOMPARE(connect->isEnabled(), buttonsUsable);
    QCOMPARE(refresh->isEnabled(), buttonsUsable);
}

void ComPortPageTest::modelAndFirmwareChecks_data()
{
    QTest::addColumn<int>("modelId");
    QTest::addColumn<int>("firmware");
    QTest::addColumn<QString>("boxTitle");
    QTest::addColumn<QString>("details");

    const QString accepted;
    const QString unsupported = QStringLiteral("Device unsupported");
    const QString oldFirmware = QStringLiteral("Firmware unsupported");
    const QString supported = QStringLiteral("Supported: Lumo 20, Lumo 40, Lumo 50, Lumo 60.");
    QTest::newRow("Lumo 10 refused") << 0x11 << 31 << unsupported << "Found: Lumo 10 (model id 0x11). " + supported;
    QTest::newRow("Lumo 30 refused") << 0x12 << 32 << unsupported << "Found: Lumo 30 (model id 0x12). " + supported;
    QTest::newRow("Lumo 70 refused") << 0x61 << 10 << unsupported << "Found: Lumo 70 (model id 0x61). " + supported;
    QTest::newRow("Lumo 20, firmware 30") << 0x21 << 30 << accepted << QString();
    QTest::newRow("Lumo 20, firmware 29") << 0x21 << 29 << oldFirmware
                                          << "Found firmware version 29; the Lumo 20 needs version 30 or later.";
    QTest::newRow("Lumo 40, firmware 35") << 0x22 << 35 << accepted << QString();
    QTest::newRow("Lumo 50, firmware 29") << 0x23 << 29 << oldFirmware
                                          << "Found firmware version 29; the Lumo 50 needs version 30 or later.";
    QTest::newRow("Lumo 60, firmware 12") << 0x51 << 12 << accepted << QString();
    QTest::newRow("Lumo 60, firmware 11") << 0x51 << 11 << oldFirmware
                                          << "Found firmware version 11; the Lumo 60 needs version 12 or later.";
}

void ComPortPageTest::modelAndFirmwareChecks()
{
    QFETCH(int, modelId);
    QFETCH(int, firmware);
    QFETCH(QString, boxTitle);
    QFETCH(QString, details);

    SimulatedBikeComputer device{quint8(modelId)};
    device.setFirmwareVersion(firmware);
    QVERIFY(device.start());
    WizardDriver driver;
    MessageBoxAnswerer answerer;
    driver.connectTo(device.portName());

    if (boxTitle.isEmpty()) {
        QTRY_VERIFY_WITH_TIMEOUT(driver.hasReadAll(*device.model()), deviceWaitMs);
        QVERIFY(answerer.boxes().isEmpty());
        QVERIFY(driver.button(QWizard::CommitButton)->isEnabled());
        QCOMPARE(driver.find<QLabel>(QStringLiteral("txtDeviceModel"))->text(), device.model()->name);
        QCOMPARE(driver.connection().getConnectionState(), Connected);
        QVERIFY(!driver.find<QPushButton>(QStringLiteral("btnConnect"))->isEnabled());
        return;
    }

    QTRY_COMPARE_WITH_TIMEOUT(answerer.boxes().size(), 1, deviceWaitMs);
    const MessageBoxAnswerer::Box box = answerer.boxes().first();
    QCOMPARE(box.title, boxTitle);
    QCOMPARE(box.informativeText, details);
    if (boxTitle == QLatin1String("Device unsupported")) {
        QCOMPARE(box.text, QStringLiteral("This device is not supported!"));
        QCOMPARE(box.icon, QMessageBox::Critical);
        QCOMPARE(driver.find<QLabel>(QStringLiteral("txtDeviceModel"))->text(), QStringLiteral("None"));
    } else {
        QCOMPARE(box.text, QStringLiteral("The device firmware is not supported by this Application!\n"
                                          "Please update your device with the Tunedock tool!"));
        QCOMPARE(box.icon, QMessageBox::Warning);
        QCOMPARE(driver.find<QLabel>(QStringLiteral("txtDeviceModel"))->text(), device.model()->name);
    }

    // The link is closed, the user may try again, and the device is never read: also the firmware
    // answer of a refused model, arriving after the refusal, starts no reading.
    QTRY_COMPARE_WITH_TIMEOUT(driver.find<QLabel>(QStringLiteral("lblConnectionStatus"))->text(),
                              QStringLiteral("Connection closed"), deviceWaitMs);
    QCOMPARE(driver.connection().getConnectionState(), Closed);
    QVERIFY(driver.find<QPushButton>(QStringLiteral("btnConnect"))->isEnabled());
    QVERIFY(driver.find<QPushButton>(QStringLiteral("btnEnumerate"))->isEnabled());
    // Models read without a firmware check are read by the link at once; the others never.
    if (device.model()->has(DeviceModel::FirmwareCheck))
        QVERIFY(!readsModel(device));
    // A request already on the wire when the link closed still arrives: let it land first.
    QTest::qWait(settleMs);
    device.clearRequests();
    QTest::qWait(pollTurnsMs);
    QCOMPARE(device.requestCodes(), QList<quint8>());
    QCOMPARE(answerer.boxes().size(), 1);
    QVERIFY(!driver.button(QWizard::CommitButton)->isEnabled());

    // A firmware answer reaching the page after the refusal is not taken as an approval.
    QSignalSpy completeChanged(driver.wizard().page(ComPortPageId), &QWizardPage::completeChanged);
    ModelData *record = driver.connection().getData();
    record->firmwareVersion = 99;
    emit driver.connection().modelDataUpdate(record, FirmwareVersionUpdate);
    QCOMPARE(completeChanged.count(), 0);
    QCOMPARE(answerer.boxes().size(), 1);
    if (device.model()->has(DeviceModel::FirmwareCheck))
        QCOMPARE(driver.connection().getData()->bikes[0].dailyDistance, 0u);
}

void ComPortPageTest::nextWaitsForFirmwareApproval()
{
    SimulatedBikeComputer device{0x23};
    // The firmware question goes unanswered: the link stays connected but is not approved.
    device.setHandler(ReadFirmwareVersion, [](ModelData &, const RequestFrame &) { return std::nullopt; });
    QVERIFY(device.start());
    WizardDriver driver;
    driver.connection().setAnswerTimeout(std::chrono::milliseconds(1000));
    driver.connectTo(device.portName());
    QTRY_COMPARE_WITH_TIMEOUT(driver.find<QLabel>(QStringLiteral("txtDeviceModel"))->text(), QStringLiteral("Lumo 50"),
                              deviceWaitMs);
    QCOMPARE(driver.find<QLabel>(QStringLiteral("lblConnectionStatus"))->text(), QStringLiteral("Connected"));
    QCOMPARE(driver.connection().getConnectionState(), Connected);
    QVERIFY(!driver.button(QWizard::CommitButton)->isEnabled());
    QVERIFY(!driver.press(QWizard::CommitButton));
    QCOMPARE(driver.wizard().currentId(), int(ComPortPageId));

    // Three unanswered tries later the link is lost; the way on stays shut.
    QTRY_COMPARE_WITH_TIMEOUT(driver.find<QLabel>(QStringLiteral("lblConnectionStatus"))->text(),
                              QStringLiteral("Connection lost"), deviceWaitMs);
    QVERIFY(!driver.button(QWizard::CommitButton)->isEnabled());
    QVERIFY(driver.find<QPushButton>(QStringLiteral("btnConnect"))->isEnabled());
    QVERIFY(!readsModel(device));
}

void ComPortPageTest::unknownModelReEnablesButtons()
{
    SimulatedBikeComputer device{0x21};
    device.setFault(FaultMode::UnknownId);
    QVERIFY(device.start());
    WizardDriver driver;
    MessageBoxAnswerer answerer;
    driver.connectTo(device.portName());
    QTRY_VERIFY_WITH_TIMEOUT(driver.statusTexts().contains(QStringLiteral("Unknown device type")), deviceWaitMs);
    QVERIFY(driver.find<QPushButton>(QStringLiteral("btnConnect"))->isEnabled());
    QVERIFY(driver.find<QPushButton>(QStringLiteral("btnEnumerate"))->isEnabled());
    QVERIFY(answerer.boxes().isEmpty());
    QVERIFY(!driver.button(QWizard::CommitButton)->isEnabled());
}

void ComPortPageTest::pictureThatCannotBeLoaded()
{
    WizardDriver driver;
    auto *picture = driver.find<QLabel>(QStringLiteral("lblImage"));
    const DeviceCatalogue::Map &catalogue = driver.connection().getCatalogue();

    // A supported model's picture is shown at 200 by 100 pixels.
    ModelData lumo40(catalogue.value(0x22));
    emit driver.connection().modelDataUpdate(&lumo40, IdentityUpdate);
    QCOMPARE(driver.find<QLabel>(QStringLiteral("txtDeviceModel"))->text(), QStringLiteral("Lumo 40"));
    QVERIFY(picture->isVisible());
    QCOMPARE(picture->pixmap().size(), QSize(200, 100));

    // A supported model whose picture is missing shows its name only.
    DeviceModel withoutPicture(0x21, QStringLiteral("Lumo 20"), QStringLiteral("common"), BAUD9600,
                               catalogue.value(0x21)->answerSizes, 2, true,
                               QStringLiteral(":/rc/resources/device_images/missing.png"));
    ModelData record(&withoutPicture);
    emit driver.connection().modelDataUpdate(&record, IdentityUpdate);
    QCOMPARE(driver.find<QLabel>(QStringLiteral("txtDeviceModel"))->text(), QStringLiteral("Lumo 20"));
    QVERIFY(picture->isHidden());

    // No record, or a block other than identity and firmware, changes nothing.
    emit driver.connection().modelDataUpdate(nullptr, IdentityUpdate);
    emit driver.connection().modelDataUpdate(&lumo40, Bike1Update);
    QCOMPARE(driver.find<QLabel>(QStringLiteral("txtDeviceModel"))->text(), QStringLiteral("Lumo 20"));
}

void ComPortPageTest::opensListedPort()
{
    SimulatedBikeComputer device{0x22};
    QVERIFY(device.start());
    const QString name = device.portName();
    QextSerialEnumerator::setPortSource([name] { return QList<QextPortInfo>{ListedPort::ftdi(name)}; });
    WizardDriver driver;
    auto *box = driver.find<QComboBox>(QStringLiteral("cmbComPorts"));
    QCOMPARE(box->count(), 1);
    QCOMPARE(box->currentIndex(), 0);
    QCOMPARE(box->currentText(), name);
    QTest::mouseClick(driver.find<QPushButton>(QStringLiteral("btnConnect")), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(driver.hasReadAll(*device.model()), deviceWaitMs);
    QVERIFY(driver.button(QWizard::CommitButton)->isEnabled());
}

void ComPortPageTest::typedNameWinsOverListedRow()
{
    SimulatedBikeComputer device{0x51};
    QVERIFY(device.start());
    QextSerialEnumerator::setPortSource([] { return QList<QextPortInfo>{ListedPort::ftdi(QStringLiteral("/dev/no-such-port"))}; });
    WizardDriver driver;
    auto *box = driver.find<QComboBox>(QStringLiteral("cmbComPorts"));
    QCOMPARE(box->currentIndex(), 0);
    box->lineEdit()->selectAll();
    QTest::keyClicks(box->lineEdit(), device.portName());
    QTest::mouseClick(driver.find<QPushButton>(QStringLiteral("btnConnect")), Qt::LeftButton);
    QTRY_VERIFY_WITH_TIMEOUT(driver.hasReadAll(*device.model()), deviceWaitMs);
    QCOMPARE(driver.find<QLabel>(QStringLiteral("txtDeviceModel"))->text(), QStringLiteral("Lumo 60"));
}

void ComPortPageTest::listedPortThatCannotBeOpened()
{
    QextSerialEnumerator::setPortSource([] { return QList<QextPortInfo>{ListedPort::ftdi(QStringLiteral("/dev/no-such-port"))}; });
    WizardDriver driver;
    QTest::mouseClick(driver.find<QPushButton>(QStringLiteral("btnConnect")), Qt::LeftButton);
    QTRY_COMPARE(driver.find<QLabel>(QStringLiteral("lblConnectionStatus"))->text(),
                 QStringLiteral("Failed to open connection"));
    QCOMPARE(driver.statusTexts(), QStringList({"Connection opening...", "Failed to open connection"}));
    QVERIFY(driver.find<QPushButton>(QStringLiteral("btnConnect"))->isEnabled());
    QVERIFY(driver.find<QPushButton>(QStringLiteral("btnEnumerate"))->isEnabled());
}

void ComPortPageTest::nothingToOpen()
{
    WizardDriver driver;
    auto *box = driver.find<QComboBox>(QStringLiteral("cmbComPorts"));
    QCOMPARE(box->count(), 0);
    QCOMPARE(box->currentIndex(), -1);
    QVERIFY(box->currentText().isEmpty());
    QTest::mouseClick(driver.find<QPushButton>(QStringLiteral("btnConnect")), Qt::LeftButton);
    QTest::qWait(50);
    QVERIFY(driver.states().isEmpty());
    QCOMPARE(driver.find<QLabel>(QStringLiteral("lblConnectionStatus"))->text(), QStringLiteral("Not Connected"));
    QVERIFY(driver.find<QPushButton>(QStringLiteral("btnConnect"))->isEnabled());
    QVERIFY(driver.find<QPushButton>(QStringLiteral("btnEnumerate"))->isEnabled());
    QCOMPARE(driver.connection().getConnectionState(), Closed);
}

void ComPortPageTest::refreshSelectsFirstRow()
{
    WizardDriver driver;
    auto *box = driver.find<QComboBox>(QStringLiteral("cmbComPorts"));
    QCOMPARE(box->count(), 0);
    QextSerialEnumerator::setPortSource([] {
        QextPortInfo cp210x;
        cp210x.portName = QStringLiteral("/dev/ttyUSB1");
        cp210x.vendorID = 0x10C4;
        cp210x.productID = 0xEA60;
        return QList<QextPortInfo>{ListedPort::ftdi(QStringLiteral("/dev/ttyUSB0")), cp210x};
    });
    QTest::mouseClick(driver.find<QPushButton>(QStringLiteral("btnEnumerate")), Qt::LeftButton);
    QCOMPARE(box->count(), 2);
    QCOMPARE(box->currentIndex(), 0);
    QCOMPARE(box->currentText(), QStringLiteral("/dev/ttyUSB0"));
    QCOMPARE(box->itemText(1), QStringLiteral("/dev/ttyUSB1"));
}

void ComPortPageTest::portProblemIsExplained_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("reason");

    QTest::newRow("missing") << "missing" << "There is no port %1: check the cable and the port name.";
    QTest::newRow("no permission")
        << "no permission" << "No permission to use %1: join the group \"%2\" (sudo usermod -aG %2 $USER) and log in again.";
    QTest::newRow("busy") << "busy" << "%1 is busy: close the other program that uses it and try again.";
    QTest::newRow("not a serial port") << "regular file" << "%1 did not open as a serial port: check the port name.";
}

void ComPortPageTest::portProblemIsExplained()
{
    QFETCH(QString, kind);
    QFETCH(QString, reason);

    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    // Others may look into the folder, as into /dev.
    QVERIFY(QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                     | QFile::ReadOther | QFile::ExeOther));
    QString port = folder.filePath(QStringLiteral("ttyUSB7"));
    SimulatedBikeComputer device{0x51};
    QSerialPort otherProgram;
    std::unique_ptr<UnprivilegedFileAccess> unprivileged;
    if (kind == QLatin1String("busy")) {
        QVERIFY(device.start());
        port = device.portName();
        otherProgram.setPortName(port);
        QVERIFY(otherProgram.open(QIODevice::ReadWrite));
    } else if (kind != QLatin1String("missing")) {
        QFile file(port);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.close();
    }
    if (kind == QLatin1String("no permission")) {
        // Owned by a group other than root, as serial devices are (dialout on Debian).
        QVERIFY(QFile::setPermissions(port, {}));
        QVERIFY(::chown(QFile::encodeName(port).constData(), ::geteuid(), 65534) == 0 || ::geteuid() != 0);
        reason = reason.arg(QStringLiteral("%1"), QFileInfo(port).group());
    }

    WizardDriver driver;
    auto *problem = driver.find<QLabel>(QStringLiteral("lblPortProblem"));
    QVERIFY(problem->isHidden());
    if (kind == QLatin1String("no permission")) {
        unprivileged = std::make_unique<UnprivilegedFileAccess>();
        QVERIFY(unprivileged->isEffective());
    }
    driver.connectTo(port);
    QTRY_COMPARE(driver.find<QLabel>(QStringLiteral("lblConnectionStatus"))->text(),
                 QStringLiteral("Failed to open connection"));
    QCOMPARE(problem->text(), reason.arg(port));
    QVERIFY(problem->isVisible());
    unprivileged.reset();

    // The next try hides it again.
    emit driver.connection().connectionStateChanged(Opening, NoError);
    QVERIFY(problem->isHidden());
}

void ComPortPageTest::firmwareVerdictFollowsTheReportsSeen()
{
    // The firmware question is left open, so the test decides when the answer is delivered.
    SimulatedBikeComputer device{0x21};
    device.setHandler(ReadFirmwareVersion, [](ModelData &, const RequestFrame &) { return std::nullopt; });
    QVERIFY(device.start());
    WizardDriver driver;
    MessageBoxAnswerer answerer;
    driver.connectTo(device.portName());
    QTRY_COMPARE_WITH_TIMEOUT(driver.find<QLabel>(QStringLiteral("txtDeviceModel"))->text(), QStringLiteral("Lumo 20"),
                              deviceWaitMs);

    // Reports reach the page queued: the link may already stand elsewhere (here it has gone back
    // to waiting, its report still on the way) when the firmware answer it sent before arrives.
    ComConnection &link = driver.connection();
    {
        const QSignalBlocker reportOnTheWay(&link);
        link.setConnectionState(WaitingForAnswer, NoError);
    }
    ModelData *record = link.getData();
    record->firmwareVersion = 29;
    emit link.modelDataUpdate(record, FirmwareVersionUpdate);

    // The page judged the answer: the user is told and may try again.
    QCOMPARE(answerer.boxes().size(), 1);
    QCOMPARE(answerer.boxes().first().title, QStringLiteral("Firmware unsupported"));
    QTRY_COMPARE(driver.find<QLabel>(QStringLiteral("lblConnectionStatus"))->text(), QStringLiteral("Connection closed"));
    QVERIFY(driver.find<QPushButton>(QStringLiteral("btnConnect"))->isEnabled());
    QVERIFY(!readsModel(device));
}

void ComPortPageTest::readCutShortKeepsTheWayShut_data()
{
    ReadCutShort::addRows();
}

void ComPortPageTest::readCutShortKeepsTheWayShut()
{
    QFETCH(int, fault);
    QFETCH(int, count);
    QFETCH(QString, missing);

    SimulatedBikeComputer device{0x51};
    device.setFault(FaultMode(fault), count);
    QVERIFY(device.start());
    WizardDriver driver;
    driver.connection().setAnswerTimeout(std::chrono::milliseconds(1000));
    auto *line = driver.find<QLabel>(QStringLiteral("lblPortProblem"));
    QAbstractButton *commit = driver.button(QWizard::CommitButton);
    QStringList lines;
    bool commitEverUsable = false;
    QObject::connect(&driver.connection(), &ComConnection::modelDataUpdate, &driver.wizard(), [&] {
        lines.append(line->text());
        commitEverUsable = commitEverUsable || commit->isEnabled();
    });
    driver.connectTo(device.portName());

    QTRY_COMPARE_WITH_TIMEOUT(driver.find<QLabel>(QStringLiteral("lblConnectionStatus"))->text(),
                              QStringLiteral("Connection lost"), deviceWaitMs);
    QVERIFY(lines.contains(QStringLiteral("Reading the values (0 of 8)...")));
    QCOMPARE(line->text(),
             QStringLiteral("Not every value arrived; missing: %1. Connect again to read them.").arg(missing));
    QVERIFY(!line->isHidden());
    QVERIFY(!commitEverUsable);
    QVERIFY(!commit->isEnabled());

    // The same page connects again, to a device that answers everything.
    SimulatedBikeComputer good{0x51};
    QVERIFY(good.start());
    driver.connectTo(good.portName());
    QTRY_VERIFY_WITH_TIMEOUT(commit->isEnabled(), deviceWaitMs);
    QVERIFY(driver.hasReadAll(*good.model()));
    QVERIFY(lines.contains(QStringLiteral("Reading the values (7 of 8)...")));
    QVERIFY(line->isHidden());
}

QTEST_MAIN(ComPortPageTest)
#include "tst_comportpage.moc"
