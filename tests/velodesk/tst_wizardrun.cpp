// SPDX-License-Identifier: GPL-3.0-or-later
// Whole runs of the export wizard against the simulated bike computer, through the widgets:
// connect, choose the ride, check and correct the values, write a FIT file or a CSV line.

#include "FileDialogAnswerer.h"
#include "MessageBoxAnswerer.h"
#include "TestSettings.h"
#include "WizardDriver.h"
#include "tests/outpost/FitReader.h"

#include "velodesk/Startup.h"
#include "velodesk/WizardPageId.h"

#include "linkhub/ComConnection.h"
#include "outpost/Outposter.h"
#include "tools/simulator/SimulatedBikeComputer.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QDateEdit>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>

namespace {
constexpr int deviceWaitMs = int(WizardDriver::DeviceWait.count());

// FIT global message and field numbers of the profile.
constexpr quint16 fileIdMessage = 0;
constexpr quint16 sessionMessage = 18;
constexpr quint8 fileIdProduct = 2;
constexpr quint8 sessionTimerTime = 8;
constexpr quint8 sessionDistance = 9;
constexpr quint8 sessionCalories = 11;
constexpr quint8 sessionAvgHeartRate = 16;
constexpr quint8 sessionMaxHeartRate = 17;
constexpr quint8 sessionAvgCadence = 18;
constexpr quint8 sessionTotalAscent = 22;

quint64 fieldOf(const FitMessage &message, quint8 number)
{
    const FitField *field = message.field(number);
    return field ? field->raw() : ~quint64(0);
}
}

class WizardRunTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void exportsRide_data();
    void exportsRide();
    void fileEndingChoosesFormat_data();
    void fileEndingChoosesFormat();
    void failedExportStaysOnFilePage();
    void searchAddsTheChosenEnding_data();
    void searchAddsTheChosenEnding();
    void uploadPageScreenshot();
    void filePageProposesNameAndPlace();
    void valuesLeftOutAreToldFirst();

private:
    /// Starts a device and drives a fresh wizard from its first page up to the file page.
    bool driveToFilePage(WizardDriver &driver, SimulatedBikeComputer &device, bool bike1);
    /// Types the path into the empty output field and presses Finish.
    static bool finishWith(WizardDriver &driver, const QString &path);

    std::unique_ptr<TestSettings> settings;
    QTemporaryDir outputFolder;
    const QDate rideDate{2024, 3, 16};
    const QTime rideTime{9, 30, 15};
};

void WizardRunTest::initTestCase()
{
    settings = std::make_unique<TestSettings>();
    QVERIFY(settings->isIsolated());
    Startup::registerMetaTypes();
    QVERIFY(outputFolder.isValid());
}

void WizardRunTest::init()
{
    settings->clear();
}

bool WizardRunTest::driveToFilePage(WizardDriver &driver, SimulatedBikeComputer &device, bool bike1)
{
    if (!device.start())
        return false;
    driver.press(QWizard::NextButton);
    driver.connectTo(device.portName());
    if (!QTest::qWaitFor([&] { return driver.hasReadAll(*device.model()); }, deviceWaitMs))
        return false;
    if (!driver.press(QWizard::CommitButton))
        return false;
    driver.find<QDateEdit>(QStringLiteral("dateEdit"))->setDate(rideDate);
    driver.find<QTimeEdit>(QStringLiteral("timeEdit"))->setTime(rideTime);
    driver.find<QRadioButton>(bike1 ? QStringLiteral("bike1RadioButton") : QStringLiteral("bike2RadioButton"))
        ->setChecked(true);
    return driver.press(QWizard::NextButton) && driver.press(QWizard::NextButton)
        && driver.press(QWizard::NextButton) && driver.wizard().currentId() == ChooseFilePageId;
}

bool WizardRunTest::finishWith(WizardDriver &driver, const QString &path)
{
    QFile::remove(path);
    QTest::keyClicks(driver.find<QLineEdit>(QStringLiteral("fileEdit")), path);
    return driver.press(QWizard::FinishButton) && driver.wizard().result() == QDialog::Accepted;
}

void WizardRunTest::exportsRide_data()
{
    QTest::addColumn<int>("modelId");
    QTest::addColumn<int>("unitSystem");
    QTest::addColumn<bool>("bike1");
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<QString>("shownDistance");
    QTest::addColumn<QString>("shownAvgSpeed");
    QTest::addColumn<QString>("shownAltGain");
    QTest::addColumn<bool>("screenshots");

    // Stored 12345678 mm, 250 (25.0 km/h) and 123 m on the chosen bike.
    QTest::newRow("Lumo 60, metric, bike 1, FIT")
        << 0x51 << 0 << true << "ride.fit" << "12.346" << "25.0" << "123.0" << true;
    QTest::newRow("Lumo 50, imperial, bike 2, CSV")
        << 0x23 << 1 << false << "log.csv" << "7.671" << "15.5" << "403.5" << false;
}

void WizardRunTest::exportsRide()
{
    QFETCH(int, modelId);
    QFETCH(int, unitSystem);
    QFETCH(bool, bike1);
    QFETCH(QString, fileName);
    QFETCH(QString, shownDistance);
    QFETCH(QString, shownAvgSpeed);
    QFETCH(QString, shownAltGain);
    QFETCH(bool, screenshots);
    const int bike = bike1 ? 0 : 1;

    SimulatedBikeComputer device{quint8(modelId)};
    ModelData values = device.values();
    values.unitSystem = unitSystem;
    values.bikes[bike].dailyDistance = 12345678;
    values.bikes[bike].avgSpeed = 250;
    values.bikes[bike].altGain = 123;
    values.dailyCalories = 987;
    values.avgHeartRate = 131;
    values.maxHeartRate = 177;
    values.bikes[bike].avgCadence = 86;
    device.setValues(values);
    QVERIFY(device.start());

    WizardDriver driver;
    QCOMPARE(driver.wizard().currentId(), int(IntroPageId));
    if (screenshots)
        driver.screenshot(QStringLiteral("1-intro"));
    QVERIFY(driver.press(QWizard::NextButton));
    QCOMPARE(driver.wizard().currentId(), int(ComPortPageId));

    // Connect: the status line follows the link, the model shows with its picture.
    QVERIFY(!driver.button(QWizard::CommitButton)->isEnabled());
    driver.connectTo(device.portName());
    QTRY_VERIFY_WITH_TIMEOUT(driver.hasReadAll(*device.model()), deviceWaitMs);
    QCOMPARE(driver.statusTexts(),
             QStringList({"Connection opening...", "Waiting for answer...", "Connected"}));
    QCOMPARE(driver.find<QLabel>(QStringLiteral("lblConnectionStatus"))->text(), QStringLiteral("Connected"));
    QCOMPARE(driver.find<QLabel>(QStringLiteral("txtDeviceModel"))->text(), device.model()->name);
    auto *picture = driver.find<QLabel>(QStringLiteral("lblImage"));
    QVERIFY(picture->isVisible());
    QCOMPARE(picture->pixmap().size(), QSize(200, 100));
    QVERIFY(driver.button(QWizard::CommitButton)->isEnabled());
    QVERIFY(!driver.find<QPushButton>(QStringLiteral("btnConnect"))->isEnabled());
    if (screenshots)
        driver.screenshot(QStringLiteral("2-connect"));

    // The ride: date, start time and bike.
    QVERIFY(driver.press(QWizard::CommitButton));
    QCOMPARE(driver.wizard().currentId(), int(DateTimeChoosePageId));
    QVERIFY(!driver.button(QWizard::BackButton)->isVisible() || !driver.button(QWizard::BackButton)->isEnabled());
    driver.find<QDateEdit>(QStringLiteral("dateEdit"))->setDate(rideDate);
    driver.find<QTimeEdit>(QStringLiteral("timeEdit"))->setTime(rideTime);
    driver.find<QRadioButton>(bike1 ? QStringLiteral("bike1RadioButton") : QStringLiteral("bike2RadioButton"))
        ->setChecked(true);
    if (screenshots)
        driver.screenshot(QStringLiteral("3-date-time"));

    // The values of that bike in the device's units; corrections go back into the record.
    QVERIFY(driver.press(QWizard::NextButton));
    QCOMPARE(driver.wizard().currentId(), int(ChangeValuesPageId));
    QCOMPARE(driver.find<QLabel>(QStringLiteral("dateLabel"))->text(), QStringLiteral("16.03.2024"));
    QCOMPARE(driver.find<QLabel>(QStringLiteral("timeLabel"))->text(), QStringLiteral("09:30:15"));
    QCOMPARE(driver.find<QLabel>(QStringLiteral("bikeLabel"))->text(), bike1 ? QStringLiteral("Bike 1") : QStringLiteral("Bike 2"));
    QCOMPARE(driver.find<QRadioButton>(QStringLiteral("metricRadioButton"))->isChecked(), unitSystem == 0);
    QCOMPARE(driver.find<QLineEdit>(QStringLiteral("distanceEdit"))->text(), shownDistance);
    QCOMPARE(driver.find<QLineEdit>(QStringLiteral("avgSpeedEdit"))->text(), shownAvgSpeed);
    QCOMPARE(driver.find<QLineEdit>(QStringLiteral("altGainEdit"))->text(), shownAltGain);
    QCOMPARE(driver.find<QLineEdit>(QStringLiteral("kcalEdit"))->text(), QStringLiteral("987"));
    auto *kcal = driver.find<QLineEdit>(QStringLiteral("kcalEdit"));
    auto *rideTimeEdit = driver.find<QLineEdit>(QStringLiteral("rideTimeEdit"));
    QVERIFY(!kcal->isEnabled());
    QTest::mouseClick(driver.find<QPushButton>(QStringLiteral("changeButton")), Qt::LeftButton);
    QVERIFY(kcal->isEnabled());
    kcal->selectAll();
    QTest::keyClicks(kcal, QStringLiteral("1234"));
    rideTimeEdit->selectAll();
    QTest::keyClicks(rideTimeEdit, QStringLiteral("02:03:04"));
    QCOMPARE(rideTimeEdit->text(), QStringLiteral("02:03:04"));
    if (screenshots)
        driver.screenshot(QStringLiteral("4-values"));

    QVERIFY(driver.press(QWizard::NextButton));
    QCOMPARE(driver.wizard().currentId(), int(ExportTypePageId));
    const ModelData *record = driver.connection().getData();
    QCOMPARE(record->dailyCalories, 1234u);
    QCOMPARE(int(record->bikes[bike].rideTimeHour), 2);
    QCOMPARE(int(record->bikes[bike].rideTimeMin), 3);
    QCOMPARE(int(record->bikes[bike].rideTimeSec), 4);
    // Values left as shown keep their exact figures in either unit system.
    QCOMPARE(record->bikes[bike].dailyDistance, 12345678u);
    QCOMPARE(int(record->bikes[bike].altGain), 123);
    if (screenshots)
        driver.screenshot(QStringLiteral("5-export-type"));

    // The file.
    QVERIFY(driver.press(QWizard::NextButton));
    QCOMPARE(driver.wizard().currentId(), int(ChooseFilePageId));
    QVERIFY(!driver.button(QWizard::FinishButton)->isEnabled());
    const QString path = outputFolder.filePath(fileName);
    QFile::remove(path);
    auto *fileEdit = driver.find<QLineEdit>(QStringLiteral("fileEdit"));
    QTest::keyClicks(fileEdit, path);
    QVERIFY(driver.button(QWizard::FinishButton)->isEnabled());
    if (screenshots)
        driver.screenshot(QStringLiteral("6-choose-file"));

    QSignalSpy released(&driver.wizard(), &ExportWizard::linkReleased);
    QVERIFY(driver.press(QWizard::FinishButton));
    QCOMPARE(driver.wizard().result(), int(QDialog::Accepted));
    QVERIFY(!driver.wizard().isVisible());

    // Finish closed the link politely: the device heard the close command.
    QTRY_COMPARE_WITH_TIMEOUT(released.count(), 1, deviceWaitMs);
    QCOMPARE(driver.connection().getConnectionState(), Closed);
    QVERIFY(device.requestCodes().contains(quint8(CloseSession)));
    QCOMPARE(TestSettings::showIntro(), QVariant(false));

    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();
    if (fileName.endsWith(QLatin1String(".fit"))) {
        // The same record, bike and ride start written directly give the same file.
        const QString direct = outputFolder.filePath(QStringLiteral("direct.fit"));
        QVERIFY(Outposter::exportToFit(direct, driver.connection().getData(), bike, QDateTime(rideDate, rideTime)));
        QFile directFile(direct);
        QVERIFY(directFile.open(QIODevice::ReadOnly));
        QCOMPARE(bytes, directFile.readAll());

        const FitFile fit = FitReader::read(bytes);
        QVERIFY2(fit.isValid(), qPrintable(fit.error));
        QCOMPARE(fit.messagesOf(fileIdMessage).size(), 1);
        QCOMPARE(fieldOf(fit.messagesOf(fileIdMessage).first(), fileIdProduct), quint64(modelId));
        QCOMPARE(fit.messagesOf(sessionMessage).size(), 1);
        const FitMessage session = fit.messagesOf(sessionMessage).first();
        QCOMPARE(fieldOf(session, sessionTimerTime), quint64((2 * 3600 + 3 * 60 + 4) * 1000));
        QCOMPARE(fieldOf(session, sessionDistance), quint64(1234568)); // 12345.678 m, in centimetres
        QCOMPARE(fieldOf(session, sessionCalories), quint64(1234));
        QCOMPARE(fieldOf(session, sessionAvgHeartRate), quint64(131));
        QCOMPARE(fieldOf(session, sessionMaxHeartRate), quint64(177));
        QCOMPARE(fieldOf(session, sessionAvgCadence), quint64(86));
        QCOMPARE(fieldOf(session, sessionTotalAscent), quint64(123));
    } else {
        const QList<QByteArray> lines = bytes.split('\n');
        QCOMPARE(lines.size(), 2);
        QVERIFY(lines.at(0).startsWith("Unit; Date; Ride time; Total Distance; Total kcal; Avg. Speed"));
        const QList<QByteArray> columns = lines.at(1).split(';');
        QCOMPARE(columns.size(), 27);
        QCOMPARE(columns.at(0).trimmed(), QByteArray("miles/mph/feet/Fahrenheit"));
        QVERIFY(columns.at(1).trimmed().endsWith("09:30:15 2024"));
        QCOMPARE(columns.at(2).trimmed(), QByteArray("02:03:04"));
        QCOMPARE(columns.at(3).trimmed(), QByteArray("7.671"));
        QCOMPARE(columns.at(4).trimmed(), QByteArray("1234"));
        QCOMPARE(columns.at(5).trimmed(), QByteArray("15.5"));
        QCOMPARE(columns.at(7).trimmed(), QByteArray("86"));
        QCOMPARE(columns.at(11).trimmed(), QByteArray("131"));
        QCOMPARE(columns.at(12).trimmed(), QByteArray("177"));
        // 123 m, kept as read, in feet.
        QCOMPARE(columns.at(17).trimmed(), QByteArray("403.5"));
    }
}

void WizardRunTest::fileEndingChoosesFormat_data()
{
    QTest::addColumn<QString>("fileName");
    QTest::addColumn<bool>("fit");

    QTest::newRow(".fit") << "a.fit" << true;
    QTest::newRow(".csv") << "b.csv" << false;
    QTest::newRow("upper-case .FIT") << "c.FIT" << false;
    QTest::newRow("no ending") << "d" << false;
}

void WizardRunTest::fileEndingChoosesFormat()
{
    QFETCH(QString, fileName);
    QFETCH(bool, fit);

    SimulatedBikeComputer device(0x21);
    WizardDriver driver;
    QVERIFY(driveToFilePage(driver, device, true));
    const QString path = outputFolder.filePath(fileName);
    QFile::remove(path);
    QTest::keyClicks(driver.find<QLineEdit>(QStringLiteral("fileEdit")), path);
    if (fit)
        QTest::ignoreMessage(QtDebugMsg, "export fit");
    else
        QTest::ignoreMessage(QtDebugMsg, "export csv");
    QVERIFY(driver.press(QWizard::FinishButton));
    QCOMPARE(driver.wizard().result(), int(QDialog::Accepted));

    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const QByteArray bytes = written.readAll();
    QCOMPARE(bytes.mid(8, 4) == QByteArray(".FIT"), fit);
    QCOMPARE(bytes.startsWith("Unit; Date; "), !fit);
    if (fit)
        QVERIFY(FitReader::read(bytes).isValid());
}

void WizardRunTest::failedExportStaysOnFilePage()
{
    SimulatedBikeComputer device(0x22);
    WizardDriver driver;
    QVERIFY(driveToFilePage(driver, device, false));

    const QString missingFolderPath = outputFolder.filePath(QStringLiteral("no-such-folder/ride.fit"));
    auto *fileEdit = driver.find<QLineEdit>(QStringLiteral("fileEdit"));
    QTest::keyClicks(fileEdit, missingFolderPath);

    MessageBoxAnswerer answerer;
    QVERIFY(driver.press(QWizard::FinishButton));
    QCOMPARE(answerer.boxes().size(), 1);
    QCOMPARE(answerer.boxes().first().title, QStringLiteral("Exporting failed"));
    QCOMPARE(answerer.boxes().first().text,
             QStringLiteral("There was a problem exporting the file. Please make sure that you have sufficient "
                            "rights and that no other application is currently using the file."));
    QCOMPARE(answerer.boxes().first().icon, QMessageBox::Critical);
    QCOMPARE(answerer.boxes().first().informativeText,
             QStringLiteral("%1 could not be written: No such file or directory.").arg(missingFolderPath));
    QVERIFY(driver.wizard().isVisible());
    QCOMPARE(driver.wizard().currentId(), int(ChooseFilePageId));
    QCOMPARE(fileEdit->text(), missingFolderPath);
    QCOMPARE(driver.connection().getConnectionState(), Connected);
    QVERIFY(!QFile::exists(missingFolderPath));

    // A second Finish with a usable path writes the ride (bike 2) and ends the wizard.
    const QString path = outputFolder.filePath(QStringLiteral("retry.fit"));
    QFile::remove(path);
    fileEdit->selectAll();
    QTest::keyClicks(fileEdit, path);
    QVERIFY(driver.press(QWizard::FinishButton));
    QCOMPARE(answerer.boxes().size(), 1);
    QCOMPARE(driver.wizard().result(), int(QDialog::Accepted));
    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const FitFile fit = FitReader::read(written.readAll());
    QVERIFY2(fit.isValid(), qPrintable(fit.error));
    const FitMessage session = fit.messagesOf(sessionMessage).first();
    // Bike 2's distance (in centimetres), as the value page stored it from the shown miles.
    const double storedDistance = driver.connection().getData()->bikes[1].dailyDistance;
    QVERIFY(qAbs(double(fieldOf(session, sessionDistance)) - storedDistance / 10.0) <= 1.0);
    QVERIFY(qAbs(storedDistance - double(device.values().bikes[1].dailyDistance)) < 1000.0);
}

void WizardRunTest::searchAddsTheChosenEnding_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("fileType");
    QTest::addColumn<QString>("path");

    const QString fit = QStringLiteral("Fit Files (*.fit)");
    const QString csv = QStringLiteral("csv Files (*.csv)");
    QTest::newRow("FIT files, no ending") << "myride" << fit << "myride.fit";
    QTest::newRow("CSV files, no ending") << "mylog" << csv << "mylog.csv";
    QTest::newRow("an ending of its own stays") << "ride.csv" << fit << "ride.csv";
    QTest::newRow("upper-case ending stays") << "ride.FIT" << fit << "ride.FIT";
}

void WizardRunTest::searchAddsTheChosenEnding()
{
    QFETCH(QString, typed);
    QFETCH(QString, fileType);
    QFETCH(QString, path);

    WizardDriver driver;
    driver.wizard().setStartId(ChooseFilePageId);
    driver.wizard().restart();
    FileDialogAnswerer answerer(outputFolder.filePath(typed), fileType);
    QTest::mouseClick(driver.find<QPushButton>(QStringLiteral("searchButton")), Qt::LeftButton);
    QCOMPARE(answerer.dialogs().size(), 1);
    QCOMPARE(answerer.dialogs().first().caption, QStringLiteral("Export File"));
    QCOMPARE(answerer.dialogs().first().nameFilters, QStringList({"Fit Files (*.fit)", "csv Files (*.csv)"}));
    QCOMPARE(driver.find<QLineEdit>(QStringLiteral("fileEdit"))->text(), outputFolder.filePath(path));
}

void WizardRunTest::uploadPageScreenshot()
{
    // The upload choice is disabled, so no run reaches the upload page; it is shown directly.
    WizardDriver driver;
    driver.wizard().setStartId(UploadPageId);
    driver.wizard().restart();
    QCOMPARE(driver.wizard().currentId(), int(UploadPageId));
    QVERIFY(!driver.button(QWizard::FinishButton)->isEnabled());
    driver.find<QLineEdit>(QStringLiteral("usernameEdit"))->setText(QStringLiteral("rider"));
    driver.find<QLineEdit>(QStringLiteral("passwordEdit"))->setText(QStringLiteral("secret"));
    QVERIFY(driver.button(QWizard::FinishButton)->isEnabled());
    QCOMPARE(driver.find<QLineEdit>(QStringLiteral("passwordEdit"))->echoMode(), QLineEdit::Password);
    driver.screenshot(QStringLiteral("7-upload"));
}

void WizardRunTest::filePageProposesNameAndPlace()
{
    // The first time: the documents folder, a name of model, day and bike.
    {
        SimulatedBikeComputer device(0x51);
        WizardDriver driver;
        QVERIFY(driveToFilePage(driver, device, true));
        const QString documents = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
        QCOMPARE(driver.find<QLineEdit>(QStringLiteral("fileEdit"))->placeholderText(),
                 QDir::toNativeSeparators(QDir(documents).filePath(QStringLiteral("lumo60-2024-03-16-bike1.fit"))));
        QVERIFY(finishWith(driver, outputFolder.filePath(QStringLiteral("first.fit"))));
    }
    QCOMPARE(QSettings().value(QStringLiteral("export/last_folder")).toString(), outputFolder.path());

    // Then the folder used last, where the search dialog opens too.
    SimulatedBikeComputer device(0x51);
    WizardDriver driver;
    QVERIFY(driveToFilePage(driver, device, false));
    QCOMPARE(driver.find<QLineEdit>(QStringLiteral("fileEdit"))->placeholderText(),
             outputFolder.filePath(QStringLiteral("lumo60-2024-03-16-bike2.fit")));
    FileDialogAnswerer cancel{QString()};
    QTest::mouseClick(driver.find<QPushButton>(QStringLiteral("searchButton")), Qt::LeftButton);
    QCOMPARE(cancel.dialogs().size(), 1);
    QCOMPARE(cancel.dialogs().first().directory, outputFolder.path());
    QCOMPARE(cancel.dialogs().first().offeredName, QStringLiteral("lumo60-2024-03-16-bike2.fit"));
    QVERIFY(driver.find<QLineEdit>(QStringLiteral("fileEdit"))->text().isEmpty());
}

void WizardRunTest::valuesLeftOutAreToldFirst()
{
    SimulatedBikeComputer device(0x51);
    ModelData values = device.values();
    values.bikes[0].maxSpeed = 2500; // 250.0 km/h: a sensor glitch
    values.dailyCalories = 70000;
    device.setValues(values);
    WizardDriver driver;
    QVERIFY(driveToFilePage(driver, device, true));

    const QString path = outputFolder.filePath(QStringLiteral("glitch.fit"));
    MessageBoxAnswerer answerer;
    // The box is answered before the file is written; the lines are the export's own diagnostics.
    QTest::ignoreMessage(QtWarningMsg, "FIT field session.total_calories cannot hold 70000 kcal (left out)");
    QTest::ignoreMessage(QtWarningMsg, "FIT field session.max_speed cannot hold 69.4444 m/s (left out)");
    QVERIFY(finishWith(driver, path));
    QCOMPARE(answerer.boxes().size(), 1);
    QCOMPARE(answerer.boxes().first().title, QStringLiteral("Values left out"));
    QCOMPARE(answerer.boxes().first().icon, QMessageBox::Warning);
    QCOMPARE(answerer.boxes().first().informativeText,
             QStringLiteral("FIT field session.total_calories cannot hold 70000 kcal (left out)\n"
                            "FIT field session.max_speed cannot hold 69.4444 m/s (left out)"));
    QFile written(path);
    QVERIFY(written.open(QIODevice::ReadOnly));
    const FitMessage session = FitReader::read(written.readAll()).messagesOf(sessionMessage).first();
    QCOMPARE(fieldOf(session, sessionCalories), quint64(0xFFFF));
}

QTEST_MAIN(WizardRunTest)
#include "tst_wizardrun.moc"
