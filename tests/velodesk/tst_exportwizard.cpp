// SPDX-License-Identifier: GPL-3.0-or-later
// The wizard frame: its pages and their order, the introduction-page setting, and the link
// being closed on Finish and on Cancel.

#include "TestSettings.h"
#include "WizardDriver.h"

#include "velodesk/ChangeValuesPage.h"
#include "velodesk/ChooseFilePage.h"
#include "velodesk/ComPortPage.h"
#include "velodesk/DateTimeChoosePage.h"
#include "velodesk/ExportTypePage.h"
#include "velodesk/IntroPage.h"
#include "velodesk/Startup.h"
#include "velodesk/UploadPage.h"
#include "velodesk/WizardPageId.h"

#include "linkhub/ComConnection.h"
#include "linkhub/QextSerialEnumerator.h"
#include "tools/simulator/SimulatedBikeComputer.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QLabel>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTest>

namespace {
constexpr int deviceWaitMs = int(WizardDriver::DeviceWait.count());
}

class ExportWizardTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void frame();
    void portsListedWhenConnectPageShows();
    void pagesByIntroSetting_data();
    void pagesByIntroSetting();
    void introSettingRule_data();
    void introSettingRule();
    void exportTypeRoutes();
    void searchButtonFillsPath_data();
    void searchButtonFillsPath();
    void finishAndCancelCloseUnopenedLink_data();
    void finishAndCancelCloseUnopenedLink();
    void cancelClosesOpenLinkPolitely();
    void cancelDoesNotWaitForSilentDevice();

private:
    std::unique_ptr<TestSettings> settings;
};

void ExportWizardTest::initTestCase()
{
    settings = std::make_unique<TestSettings>();
    QVERIFY(settings->isIsolated());
    Startup::registerMetaTypes();
}

void ExportWizardTest::init()
{
    settings->clear();
}

void ExportWizardTest::portsListedWhenConnectPageShows()
{
    // Going through the system's serial devices would hold back the first window.
    int listings = 0;
    QextSerialEnumerator::setPortSource([&listings] {
        ++listings;
        return QList<QextPortInfo>();
    });
    TestSettings::setShowIntro(true);
    WizardDriver driver;
    QCOMPARE(driver.wizard().currentId(), int(IntroPageId));
    QCOMPARE(listings, 0);
    QVERIFY(driver.press(QWizard::NextButton));
    QCOMPARE(listings, 1);
    QVERIFY(driver.press(QWizard::BackButton));
    QVERIFY(driver.press(QWizard::NextButton));
    QCOMPARE(listings, 1);
    QextSerialEnumerator::setPortSource({});
}

void ExportWizardTest::frame()
{
    ExportWizard wizard;
    QCOMPARE(wizard.windowTitle(), QStringLiteral("Velquist Agent"));
    QVERIFY(!wizard.parent());
    const QList<QSize> sizes = wizard.windowIcon().availableSizes();
    QCOMPARE(sizes, QList<QSize>{QSize(256, 256)});
    QVERIFY(wizard.getConnection());
    QCOMPARE(wizard.getConnection()->getConnectionState(), Closed);

    auto *intro = qobject_cast<IntroPage *>(wizard.page(IntroPageId));
    QVERIFY(intro);
    QCOMPARE(intro->title(), QStringLiteral("Introduction"));
    QCOMPARE(intro->subTitle(), QStringLiteral("Welcome to the Velquist FIT Export. With this tool you can easily "
                                               "export your stuff into a FIT File."));
    auto *box = intro->findChild<QCheckBox *>(QStringLiteral("checkBox"));
    QVERIFY(box);
    QCOMPARE(box->text(), QStringLiteral("Show this page on next startup."));
    QVERIFY(!box->isChecked());
    QVERIFY(wizard.page(ComPortPageId)->isCommitPage());
    QCOMPARE(wizard.page(ComPortPageId)->title(), QStringLiteral("Connect to computer"));
    QCOMPARE(wizard.page(DateTimeChoosePageId)->title(), QStringLiteral("Choose Date and Time"));
    QCOMPARE(wizard.page(ChangeValuesPageId)->title(), QStringLiteral("Values"));
    QCOMPARE(wizard.page(ExportTypePageId)->title(), QStringLiteral("Export Type"));
    QCOMPARE(wizard.page(ChooseFilePageId)->title(), QStringLiteral("Export to file"));
    QCOMPARE(wizard.page(UploadPageId)->title(), QStringLiteral("Upload"));
    QCOMPARE(wizard.page(ChooseFilePageId)->nextId(), -1);

    // The ride choice offers today, now and bike 1.
    QCOMPARE(wizard.field(QStringLiteral("date")).toDate(), QDate::currentDate());
    QVERIFY(qAbs(wizard.field(QStringLiteral("time")).toTime().secsTo(QTime::currentTime())) < 60);
    QCOMPARE(wizard.field(QStringLiteral("bike1")), QVariant(true));
    QCOMPARE(wizard.field(QStringLiteral("type_fit")), QVariant(true));
    QVERIFY(!wizard.findChild<QRadioButton *>(QStringLiteral("radioButton_2"))->isEnabled());
}

void ExportWizardTest::pagesByIntroSetting_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QList<int>>("pages");
    QTest::addColumn<int>("startPage");

    const QList<int> all{0, 1, 2, 3, 4, 5, 6};
    const QList<int> withoutIntro{1, 2, 3, 4, 5, 6};
    QTest::newRow("first run") << QVariant() << all << 0;
    QTest::newRow("show_intro true") << QVariant(true) << all << 0;
    QTest::newRow("show_intro false") << QVariant(false) << withoutIntro << 1;
}

void ExportWizardTest::pagesByIntroSetting()
{
    QFETCH(QVariant, stored);
    QFETCH(QList<int>, pages);
    QFETCH(int, startPage);

    if (stored.isValid())
        TestSettings::setShowIntro(stored.toBool());
    WizardDriver driver;
    QCOMPARE(driver.wizard().pageIds(), pages);
    QCOMPARE(driver.wizard().currentId(), startPage);
    QVERIFY(qobject_cast<ComPortPage *>(driver.wizard().page(ComPortPageId)));
    QVERIFY(qobject_cast<DateTimeChoosePage *>(driver.wizard().page(DateTimeChoosePageId)));
    QVERIFY(qobject_cast<ChangeValuesPage *>(driver.wizard().page(ChangeValuesPageId)));
    QVERIFY(qobject_cast<ExportTypePage *>(driver.wizard().page(ExportTypePageId)));
    QVERIFY(qobject_cast<ChooseFilePage *>(driver.wizard().page(ChooseFilePageId)));
    QVERIFY(qobject_cast<UploadPage *>(driver.wizard().page(UploadPageId)));
}

void ExportWizardTest::introSettingRule_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<bool>("tick");
    QTest::addColumn<bool>("finish");
    QTest::addColumn<QVariant>("storedAfter");

    QTest::newRow("first run, finished ticked") << QVariant() << true << true << QVariant(true);
    QTest::newRow("first run, finished unticked") << QVariant() << false << true << QVariant(false);
    QTest::newRow("first run, cancelled ticked") << QVariant() << true << false << QVariant();
    QTest::newRow("first run, cancelled unticked") << QVariant() << false << false << QVariant();
    QTest::newRow("shown, finished ticked") << QVariant(true) << true << true << QVariant(true);
    QTest::newRow("shown, finished unticked") << QVariant(true) << false << true << QVariant(false);
    QTest::newRow("shown, cancelled unticked") << QVariant(true) << false << false << QVariant(true);
    QTest::newRow("hidden, finished") << QVariant(false) << false << true << QVariant(false);
    QTest::newRow("hidden, cancelled") << QVariant(false) << false << false << QVariant(false);
}

void ExportWizardTest::introSettingRule()
{
    QFETCH(QVariant, stored);
    QFETCH(bool, tick);
    QFETCH(bool, finish);
    QFETCH(QVariant, storedAfter);

    if (stored.isValid())
        TestSettings::setShowIntro(stored.toBool());
    {
        WizardDriver driver;
        if (auto *box = driver.find<QCheckBox>(QStringLiteral("checkBox"))) {
            QVERIFY(box->isVisible());
            if (tick)
                QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(4, box->height() / 2));
            QCOMPARE(box->isChecked(), tick);
        } else {
            QVERIFY(!stored.toBool());
        }
        if (finish) {
            QTest::ignoreMessage(QtDebugMsg, "wizard accepted");
            // What the Finish button does once the last page agrees.
            driver.wizard().accept();
        } else {
            QTest::ignoreMessage(QtDebugMsg, "wizard canceled");
            QVERIFY(driver.press(QWizard::CancelButton));
        }
        QVERIFY(!driver.wizard().isVisible());
    }
    QCOMPARE(TestSettings::showIntro(), storedAfter);

    // The next run follows the stored setting.
    WizardDriver nextRun;
    const bool introExpected = !storedAfter.isValid() || storedAfter.toBool();
    QCOMPARE(nextRun.wizard().currentId(), introExpected ? int(IntroPageId) : int(ComPortPageId));
}

void ExportWizardTest::exportTypeRoutes()
{
    ExportTypePage page;
    auto *file = page.findChild<QRadioButton *>(QStringLiteral("radioButton"));
    auto *upload = page.findChild<QRadioButton *>(QStringLiteral("radioButton_2"));
    QCOMPARE(file->text(), QStringLiteral("Export to File"));
    QCOMPARE(upload->text(), QStringLiteral("Upload"));
    QVERIFY(file->isChecked());
    QCOMPARE(page.nextId(), int(ChooseFilePageId));
    upload->setChecked(true);
    QCOMPARE(page.nextId(), int(UploadPageId));
}

void ExportWizardTest::searchButtonFillsPath_data()
{
    QTest::addColumn<bool>("choose");
    QTest::newRow("file chosen") << true;
    QTest::newRow("dialog cancelled") << false;
}

void ExportWizardTest::searchButtonFillsPath()
{
    QFETCH(bool, choose);

    QTemporaryDir folder;
    const QString startPath = folder.filePath(QStringLiteral("start.fit"));
    const QString chosenPath = folder.filePath(QStringLiteral("chosen.csv"));
    ComConnection connection;
    ChooseFilePage page(&connection);
    page.show();
    auto *fileEdit = page.findChild<QLineEdit *>(QStringLiteral("fileEdit"));
    fileEdit->setText(startPath);

    QString title;
    QStringList filters;
    QString shownFile;
    QTimer answer;
    answer.setInterval(20);
    connect(&answer, &QTimer::timeout, this, [&] {
        auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        answer.stop();
        title = dialog->windowTitle();
        filters = dialog->nameFilters();
        shownFile = dialog->selectedFiles().value(0);
        if (choose) {
            auto *name = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"));
            name->setText(chosenPath);
            QTest::keyClick(name, Qt::Key_Return);
        } else {
            dialog->reject();
        }
    });
    answer.start();
    QTest::mouseClick(page.findChild<QPushButton *>(QStringLiteral("searchButton")), Qt::LeftButton);

    QCOMPARE(title, QStringLiteral("Export File"));
    QCOMPARE(filters, QStringList({"Fit Files (*.fit)", "csv Files (*.csv)"}));
    QCOMPARE(shownFile, startPath);
    QCOMPARE(fileEdit->text(), choose ? chosenPath : startPath);
}

void ExportWizardTest::finishAndCancelCloseUnopenedLink_data()
{
    QTest::addColumn<bool>("finish");
    QTest::newRow("Finish") << true;
    QTest::newRow("Cancel") << false;
}

void ExportWizardTest::finishAndCancelCloseUnopenedLink()
{
    QFETCH(bool, finish);

    WizardDriver driver;
    QSignalSpy released(&driver.wizard(), &ExportWizard::linkReleased);
    QTest::ignoreMessage(QtDebugMsg, finish ? "wizard accepted" : "wizard canceled");
    QTest::ignoreMessage(QtDebugMsg, "hard closed");
    if (finish)
        driver.wizard().accept();
    else
        QVERIFY(driver.press(QWizard::CancelButton));
    QCOMPARE(driver.connection().getConnectionState(), Closed);
    QTRY_COMPARE(released.count(), 1);
}

void ExportWizardTest::cancelClosesOpenLinkPolitely()
{
    SimulatedBikeComputer device{0x21};
    QVERIFY(device.start());
    TestSettings::setShowIntro(false);
    WizardDriver driver;
    driver.connectTo(device.portName());
    QTRY_VERIFY_WITH_TIMEOUT(driver.hasReadAll(*device.model()), deviceWaitMs);

    QSignalSpy released(&driver.wizard(), &ExportWizard::linkReleased);
    QVERIFY(driver.press(QWizard::CancelButton));
    QVERIFY(released.wait(deviceWaitMs));
    QCOMPARE(driver.connection().getConnectionState(), Closed);
    QVERIFY(device.requestCodes().contains(quint8(CloseSession)));
    QCOMPARE(driver.states().mid(driver.states().size() - 3), (QList<ConnectionState>{Connected, Closing, Closed}));
    QCOMPARE(driver.find<QLabel>(QStringLiteral("lblConnectionStatus"))->text(), QStringLiteral("Connection closed"));
    // Cancel leaves the setting alone.
    QCOMPARE(TestSettings::showIntro(), QVariant(false));
}

void ExportWizardTest::cancelDoesNotWaitForSilentDevice()
{
    SimulatedBikeComputer device{0x22};
    QVERIFY(device.start());
    WizardDriver driver;
    driver.connection().setAnswerTimeout(std::chrono::milliseconds(300));
    driver.press(QWizard::NextButton);
    driver.connectTo(device.portName());
    QTRY_VERIFY_WITH_TIMEOUT(driver.hasReadAll(*device.model()), deviceWaitMs);
    device.setFault(FaultMode::Silent);

    // The window goes at once; the link gives the silent device its three tries meanwhile.
    QSignalSpy released(&driver.wizard(), &ExportWizard::linkReleased);
    QVERIFY(driver.press(QWizard::CancelButton));
    QVERIFY(!driver.wizard().isVisible());
    QCOMPARE(driver.connection().getConnectionState(), Closing);
    QCOMPARE(released.count(), 0);
    QVERIFY(released.wait(deviceWaitMs));
    QCOMPARE(driver.connection().getConnectionState(), Closed);
    QCOMPARE(driver.find<QLabel>(QStringLiteral("lblConnectionStatus"))->text(), QStringLiteral("Connection lost"));
}

QTEST_MAIN(ExportWizardTest)
#include "tst_exportwizard.moc"
