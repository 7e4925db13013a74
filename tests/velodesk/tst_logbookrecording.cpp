// SPDX-License-Identifier: GPL-3.0-or-later
// Both windows keep what they export in the logbook the settings name, and a logbook that cannot
// be written never stops an export.

#include "FileDialogAnswerer.h"
#include "ListedPort.h"
#include "TestSettings.h"
#include "WizardDriver.h"
#include "support/FileBytes.h"

#include "velodesk/MainWindow.h"
#include "velodesk/Startup.h"
#include "velodesk/WizardPageId.h"

#include "linkhub/QextSerialEnumerator.h"
#include "logbook/Logbook.h"
#include "logbook/RideQuery.h"
#include "tools/simulator/SimulatedBikeComputer.h"

#include <QApplication>
#include <QDateEdit>
#include <QDoubleSpinBox>
#include <QTabWidget>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimeEdit>

namespace {

constexpr int DeviceWaitMs = int(WizardDriver::DeviceWait.count());
const QDateTime RideStart(QDate(2024, 3, 16), QTime(9, 30, 15));
const QByteArray Damaged = QByteArray("no logbook here\n").repeated(64);

enum class Window { Wizard, Legacy };

const QMessageBox *logbookWarning()
{
    for (QWidget *widget : QApplication::topLevelWidgets())
        if (widget->objectName() == QLatin1String("logbookWarning") && widget->isVisible())
            return qobject_cast<QMessageBox *>(widget);
    return nullptr;
}

} // namespace

Q_DECLARE_METATYPE(Window)

class tst_LogbookRecording : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<TestSettings> settings;
    std::unique_ptr<QTemporaryDir> folder;

    QString path(const QString &name) const { return folder->filePath(name); }

    /// The logbook's warning as the window that showed it had it, before the window went.
    struct Warning
    {
        bool shown = false;
        bool modal = false;
        QString text;
    } warning;

    void noteWarning()
    {
        if (const QMessageBox *box = logbookWarning())
            warning = {true, box->isModal(), box->text()};
    }

    /// The wizard, through its widgets, from the intro to Finish; bike 2, kcal typed when given.
    bool exportWithWizard(SimulatedBikeComputer &device, const QString &output, const QString &kcal,
                          const std::function<void(QSignalSpy &released, QSignalSpy &done)> &afterFinish = {})
    {
        WizardDriver driver;
        driver.press(QWizard::NextButton);
        driver.connectTo(device.portName());
        if (!QTest::qWaitFor([&] { return driver.hasReadAll(*device.model()); }, DeviceWaitMs)
            || !driver.press(QWizard::CommitButton))
            return false;
        driver.find<QDateEdit>(QStringLiteral("dateEdit"))->setDate(RideStart.date());
        driver.find<QTimeEdit>(QStringLiteral("timeEdit"))->setTime(RideStart.time());
        driver.find<QRadioButton>(QStringLiteral("bike2RadioButton"))->setChecked(true);
        if (!driver.press(QWizard::NextButton))
            return false;
        if (!kcal.isEmpty()) {
            QTest::mouseClick(driver.find<QPushButton>(QStringLiteral("changeButton")), Qt::LeftButton);
            auto *edit = driver.find<QLineEdit>(QStringLiteral("kcalEdit"));
            edit->selectAll();
            QTest::keyClicks(edit, kcal);
        }
        if (!driver.press(QWizard::NextButton) || !driver.press(QWizard::NextButton))
            return false;
        QTest::keyClicks(driver.find<QLineEdit>(QStringLiteral("fileEdit")), output);
        QSignalSpy released(&driver.wizard(), &ExportWizard::linkReleased);
        QSignalSpy done(&driver.wizard(), &ExportWizard::allDone);
        const bool finished = driver.press(QWizard::FinishButton) && driver.wizard().result() == QDialog::Accepted;
        noteWarning();
        if (finished && afterFinish)
            afterFinish(released, done);
        return finished;
    }

    bool exportWithLegacyWindow(SimulatedBikeComputer &device, const QString &output)
    {
        ListedPort::offer(device.portName());
        MainWindow window;
        window.show();
        QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("btnEnumerate")), Qt::LeftButton);
        QTest::mouseClick(window.findChild<QPushButton *>(QStringLiteral("btnConnect")), Qt::LeftButton);
        auto *exportButton = window.findChild<QPushButton *>(QStringLiteral("exportFitButton"));
        auto *bike2 = window.findChild<QTabWidget *>(QStringLiteral("tabWidgetBikes"))->widget(1);
        auto *bike2MaxSpeed = bike2->findChild<QDoubleSpinBox *>(QStringLiteral("maxSpeedSpinBox"));
        if (!QTest::qWaitFor([&] { return exportButton->isEnabled() && bike2MaxSpeed->value() > 0; }, DeviceWaitMs))
            return false;
        window.findChild<QDateEdit *>(QStringLiteral("dateEdit"))->setDate(RideStart.date());
        window.findChild<QTimeEdit *>(QStringLiteral("timeEdit"))->setTime(RideStart.time());
        window.findChild<QRadioButton *>(QStringLiteral("bike2RadioButton"))->setChecked(true);
        FileDialogAnswerer dialogs(output);
        QTest::mouseClick(exportButton, Qt::LeftButton);
        QextSerialEnumerator::setPortSource({});
        noteWarning();
        return dialogs.dialogs().size() == 1;
    }

    bool exportWith(Window window, SimulatedBikeComputer &device, const QString &output)
    {
        return window == Window::Wizard ? exportWithWizard(device, output, QString())
                                        : exportWithLegacyWindow(device, output);
    }

private slots:
    void initTestCase()
    {
        settings = std::make_unique<TestSettings>();
        QVERIFY(settings->isIsolated());
        Startup::registerMetaTypes();
    }

    void init()
    {
        settings->clear();
        folder = std::make_unique<QTemporaryDir>();
        QVERIFY(folder->isValid());
        QSettings().setValue(QStringLiteral("logbook/path"), path(QStringLiteral("logbook.sqlite")));
    }

    void cleanup() { warning = {}; }

    void recordsExport_data()
    {
        QTest::addColumn<Window>("window");
        QTest::newRow("wizard") << Window::Wizard;
        QTest::newRow("legacy window") << Window::Legacy;
    }

    void recordsExport()
    {
        QFETCH(Window, window);
        SimulatedBikeComputer device(0x51);
        QVERIFY(device.start());
        QVERIFY(exportWith(window, device, path(QStringLiteral("ride.fit"))));
        QVERIFY(QFile::exists(path(QStringLiteral("ride.fit"))));
        QVERIFY(!warning.shown);

        Logbook logbook(path(QStringLiteral("logbook.sqlite")));
        QVERIFY(!logbook.open());
        QList<RideEntry> rides;
        QVERIFY(!RideQuery::rides(logbook, {}, rides));
        QCOMPARE(rides.size(), 1);
        QCOMPARE(rides[0].bike, 2);
        QCOMPARE(rides[0].start, RideStart);
        QCOMPARE(rides[0].model, QStringLiteral("Lumo 60"));
        QCOMPARE(rides[0].value(RideValue::Distance), qint64(device.values().bikes[1].dailyDistance));
        QVERIFY(!rides[0].edited);
    }

    void wizardMarksCorrectedValues()
    {
        SimulatedBikeComputer device(0x51);
        QVERIFY(device.start());
        QVERIFY(exportWithWizard(device, path(QStringLiteral("log.csv")), QStringLiteral("555")));
        Logbook logbook(path(QStringLiteral("logbook.sqlite")));
        QVERIFY(!logbook.open());
        QList<RideEntry> rides;
        QVERIFY(!RideQuery::rides(logbook, {}, rides));
        QCOMPARE(rides.size(), 1);
        QCOMPARE(rides[0].value(RideValue::Kcal), 555);
        QVERIFY(rides[0].edited);
    }

    void unwritableLogbookDoesNotStopExport_data() { recordsExport_data(); }

    void unwritableLogbookDoesNotStopExport()
    {
        QFETCH(Window, window);
        QVERIFY(FileBytes::write(path(QStringLiteral("logbook.sqlite")), Damaged));
        SimulatedBikeComputer device(0x51);
        QVERIFY(device.start());
        QVERIFY(exportWith(window, device, path(QStringLiteral("ride.fit"))));
        QVERIFY(QFile::exists(path(QStringLiteral("ride.fit"))));
        QVERIFY(warning.shown);
        QVERIFY(!warning.modal);
        QVERIFY2(warning.text.contains(path(QStringLiteral("logbook.sqlite"))), qPrintable(warning.text));
        QCOMPARE(FileBytes::read(path(QStringLiteral("logbook.sqlite"))), Damaged);
    }

    void wizardEndsOnlyOnceTheWarningIsRead()
    {
        QVERIFY(FileBytes::write(path(QStringLiteral("logbook.sqlite")), Damaged));
        SimulatedBikeComputer device(0x51);
        QVERIFY(device.start());
        const auto closeTheWarningLast = [](QSignalSpy &released, QSignalSpy &done) {
            QTRY_COMPARE_WITH_TIMEOUT(released.size(), 1, DeviceWaitMs);
            QCoreApplication::processEvents();
            QCOMPARE(done.size(), 0);
            const_cast<QMessageBox *>(logbookWarning())->accept();
            QTRY_COMPARE(done.size(), 1);
        };
        QVERIFY(exportWithWizard(device, path(QStringLiteral("ride.fit")), QString(), closeTheWarningLast));
        QVERIFY(warning.shown);
    }

    void recordsNothingWhenTurnedOff()
    {
        QSettings().setValue(QStringLiteral("logbook/enabled"), false);
        SimulatedBikeComputer device(0x51);
        QVERIFY(device.start());
        QVERIFY(exportWithLegacyWindow(device, path(QStringLiteral("ride.fit"))));
        QVERIFY(QFile::exists(path(QStringLiteral("ride.fit"))));
        QVERIFY(!QFile::exists(path(QStringLiteral("logbook.sqlite"))));
    }
};

QTEST_MAIN(tst_LogbookRecording)
#include "tst_logbookrecording.moc"
