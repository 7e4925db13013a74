// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program in German: every wizard page and the legacy window show the German
// catalogue's texts and Qt's own German buttons, whole, and editable values keep the decimal
// point. Run under a German locale; with PACEROW_SCREENSHOT_DIR set it renews the German pictures.

#include "ListedPort.h"
#include "TestSettings.h"
#include "WizardDriver.h"
#include "tests/support/Screenshot.h"
#include "tests/support/TextFit.h"

#include "desktop/DesktopLanguage.h"
#include "linkhub/Bike.h"
#include "linkhub/ComConnection.h"
#include "linkhub/QextSerialEnumerator.h"
#include "tools/simulator/SimulatedBikeComputer.h"
#include "velodesk/BikeTabPage.h"
#include "velodesk/MainWindow.h"
#include "velodesk/Startup.h"
#include "velodesk/WizardPageId.h"

#include <QDoubleSpinBox>
#include <QLineEdit>
#include <QTabWidget>
#include <QTest>

namespace {
constexpr int deviceWaitMs = int(WizardDriver::DeviceWait.count());

// The text a label, button or group box shows.
QString shownText(const QWidget *widget)
{
    return widget->property(widget->inherits("QGroupBox") ? "title" : "text").toString();
}
}

class GermanTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void wizardPages_data();
    void wizardPages();
    void wizardValuesKeepThePoint();
    void legacyWindow_data();
    void legacyWindow();
    void cleanup();
    void legacySpeedsKeepThePoint();

private:
    /// Takes a fresh wizard to the page, through the device where the page needs its values.
    static bool reach(WizardDriver &driver, SimulatedBikeComputer &device, int pageId);

    std::unique_ptr<TestSettings> settings;
};

void GermanTest::initTestCase()
{
    QCOMPARE(QLocale::system().language(), QLocale::German);
    settings = std::make_unique<TestSettings>();
    QVERIFY(settings->isIsolated());
    Startup::registerMetaTypes();
    DesktopLanguage::install(QStringLiteral("velodesk"), QLocale::system(), QStringLiteral(PACEROW_CATALOGUE_DIR));
}

bool GermanTest::reach(WizardDriver &driver, SimulatedBikeComputer &device, int pageId)
{
    if (pageId == UploadPageId || pageId == IntroPageId) {
        driver.wizard().setStartId(pageId);
        driver.wizard().restart();
        return driver.wizard().currentId() == pageId;
    }
    if (!device.start() || !driver.press(QWizard::NextButton))
        return false;
    driver.connectTo(device.portName());
    if (!QTest::qWaitFor([&] { return driver.hasReadAll(*device.model()); }, deviceWaitMs))
        return false;
    if (pageId > ComPortPageId && !driver.press(QWizard::CommitButton))
        return false;
    while (driver.wizard().currentId() < pageId) {
        if (!driver.press(QWizard::NextButton))
            return false;
    }
    return driver.wizard().currentId() == pageId;
}

void GermanTest::wizardPages_data()
{
    QTest::addColumn<int>("pageId");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("widget");
    QTest::addColumn<QString>("text");

    QTest::newRow("1-intro") << int(IntroPageId) << "Einführung" << "checkBox"
                             << "Diese Seite beim nächsten Start anzeigen.";
    QTest::newRow("2-connect") << int(ComPortPageId) << "Mit dem Fahrradcomputer verbinden"
                               << "lblConnectionStatus" << "Verbunden";
    QTest::newRow("3-date-time") << int(DateTimeChoosePageId) << "Datum und Uhrzeit wählen" << "bike2RadioButton"
                                 << "Rad 2";
    QTest::newRow("4-values") << int(ChangeValuesPageId) << "Werte" << "altitudeGroupLbl0" << "Bergauf:";
    QTest::newRow("5-export-type") << int(ExportTypePageId) << "Exportart" << "radioButton"
                                   << "In eine Datei exportieren";
    QTest::newRow("6-choose-file") << int(ChooseFilePageId) << "In eine Datei exportieren" << "searchButton"
                                   << "Durchsuchen";
    QTest::newRow("7-upload") << int(UploadPageId) << "Hochladen" << "lblUsername" << "Benutzername:";
}

void GermanTest::wizardPages()
{
    QFETCH(int, pageId);
    QFETCH(QString, title);
    QFETCH(QString, widget);
    QFETCH(QString, text);

    SimulatedBikeComputer device(0x51);
    WizardDriver driver;
    QVERIFY(reach(driver, device, pageId));
    QCOMPARE(driver.wizard().windowTitle(), QStringLiteral("Velquist Agent"));
    QCOMPARE(driver.wizard().currentPage()->title(), title);
    QCOMPARE(shownText(driver.find<QWidget>(widget)), text);
    // Qt's own German texts.
    QCOMPARE(driver.button(QWizard::NextButton)->text(), QStringLiteral("&Weiter >"));
    QCOMPARE(driver.button(QWizard::BackButton)->text(), QStringLiteral("< &Zurück"));
    QCOMPARE(driver.button(QWizard::CancelButton)->text(), QStringLiteral("Abbrechen"));
    QCOMPARE(driver.button(QWizard::FinishButton)->text(), QStringLiteral("Ab&schließen"));
    const QStringList cutOff = textsCutOff(driver.wizard());
    QVERIFY2(cutOff.isEmpty(), qPrintable(cutOff.join(QLatin1Char('\n'))));
    // Nor do the German texts widen the window beyond the width it has in English.
    QCOMPARE(driver.wizard().width(), WizardDriver::WindowSize.width());
    driver.screenshot(QString::fromLatin1(QTest::currentDataTag()));
}

void GermanTest::wizardValuesKeepThePoint()
{
    SimulatedBikeComputer device(0x51);
    ModelData values = device.values();
    values.unitSystem = 0;
    values.bikes[0].dailyDistance = 12345678;
    device.setValues(values);
    WizardDriver driver;
    QVERIFY(reach(driver, device, ChangeValuesPageId));
    QCOMPARE(driver.find<QLineEdit>(QStringLiteral("distanceEdit"))->text(), QStringLiteral("12.346"));

    QTest::mouseClick(driver.find<QWidget>(QStringLiteral("changeButton")), Qt::LeftButton);
    auto *speed = driver.find<QLineEdit>(QStringLiteral("avgSpeedEdit"));
    speed->clear();
    QTest::keyClicks(speed, QStringLiteral("30,5"));
    QVERIFY(!speed->text().contains(QLatin1Char(','))); // the comma is refused
    speed->clear();
    QTest::keyClicks(speed, QStringLiteral("30.5"));
    QVERIFY(driver.press(QWizard::NextButton));
    QCOMPARE(int(driver.connection().getData()->bikes[0].avgSpeed), 305);
}

void GermanTest::legacyWindow_data()
{
    QTest::addColumn<QString>("tab");
    QTest::addColumn<QString>("tabText");
    QTest::addColumn<QString>("widget");
    QTest::addColumn<QString>("text");

    QTest::newRow("time") << "locationTimeTab" << "Zeit" << "lblTime" << "Uhrzeit:";
    QTest::newRow("altitude") << "altitudeTab" << "Höhe" << "lblDescMaxVario" << "Maximale Sinkgeschwindigkeit:";
    QTest::newRow("heart rate") << "heartRateTab" << "Herzfrequenz" << "lblAvgHr" << "Durchschnittliche Herzfrequenz:";
    QTest::newRow("bikes") << "bikeTab" << "Räder" << "exportFitButton" << "&Exportieren";
}

void GermanTest::legacyWindow()
{
    QFETCH(QString, tab);
    QFETCH(QString, tabText);
    QFETCH(QString, widget);
    QFETCH(QString, text);

    // Connected, so that the bikes have their tabs and every box its value.
    SimulatedBikeComputer device(0x51);
    QVERIFY(device.start());
    ListedPort::offer(device.portName());
    MainWindow window;
    window.show();
    const int width = window.width();
    QTest::mouseClick(window.findChild<QWidget *>(QStringLiteral("btnEnumerate")), Qt::LeftButton);
    QTest::mouseClick(window.findChild<QWidget *>(QStringLiteral("btnConnect")), Qt::LeftButton);
    auto *exportButton = window.findChild<QWidget *>(QStringLiteral("exportFitButton"));
    QTRY_VERIFY_WITH_TIMEOUT(exportButton->isEnabled(), deviceWaitMs);

    auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("tabWidget"));
    const int index = tabs->indexOf(window.findChild<QWidget *>(tab));
    QVERIFY(index >= 0);
    tabs->setCurrentIndex(index);
    QCOMPARE(window.windowTitle(), QStringLiteral("Velquist Pacerow"));
    QCOMPARE(tabs->tabText(index), tabText);
    QCOMPARE(shownText(window.findChild<QWidget *>(widget)), text);
    QCOMPARE(window.findChild<QTabWidget *>(QStringLiteral("tabWidgetBikes"))->tabText(1), QStringLiteral("Rad 2"));
    QCOMPARE(shownText(window.findChild<QWidget *>(QStringLiteral("lblConnectionStatus"))), QStringLiteral("Verbunden"));
    const QStringList cutOff = textsCutOff(window);
    QVERIFY2(cutOff.isEmpty(), qPrintable(cutOff.join(QLatin1Char('\n'))));
    QCOMPARE(window.width(), width);
    saveScreenshot(window, QStringLiteral("legacy-%1").arg(index + 1));
}

void GermanTest::cleanup()
{
    QextSerialEnumerator::setPortSource({});
}

void GermanTest::legacySpeedsKeepThePoint()
{
    BikeTabPage page;
    page.show();
    Bike bike{};
    bike.avgSpeed = 250;
    page.showBike(bike, 0);
    auto *speed = page.findChild<QDoubleSpinBox *>(QStringLiteral("avgSpeedSpinBox"));
    QCOMPARE(speed->text(), QStringLiteral("25.0 km/h"));
    speed->selectAll();
    QTest::keyClicks(speed, QStringLiteral("30.5"));
    speed->interpretText();
    page.storeInto(bike);
    QCOMPARE(int(bike.avgSpeed), 305);
}

QTEST_MAIN(GermanTest)
#include "tst_german.moc"
