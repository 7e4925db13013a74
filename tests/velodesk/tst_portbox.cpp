// SPDX-License-Identifier: GPL-3.0-or-later
// The port box of the connect page and of the legacy window: it follows the cable, keeps what the
// user typed or chose, selects the last port, takes a typed port and says why nothing is listed.

#include "ListedPort.h"
#include "TestSettings.h"
#include "WizardDriver.h"

#include "velodesk/MainWindow.h"
#include "velodesk/PortBox.h"
#include "velodesk/Startup.h"

#include "linkhub/ComConnection.h"
#include "linkhub/PortEventSource.h"
#include "linkhub/PortWatch.h"
#include "linkhub/QextSerialEnumerator.h"
#include "tools/simulator/SimulatedBikeComputer.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStatusBar>
#include <QTest>

#include <memory>

namespace {
constexpr int settledMs = int(PortWatch::SettleTime.count()) * 2;
constexpr int deviceWaitMs = int(WizardDriver::DeviceWait.count());

/// Announces a change when the test says so, as the device manager does when a bridge comes or goes.
class AnnouncingSource : public PortEventSource
{
public:
    void announce() { emit devicesChanged(); }
};

QList<QextPortInfo> ftdiPorts(const QStringList &names)
{
    QList<QextPortInfo> ports;
    for (const QString &name : names) {
        ports.append(ListedPort::ftdi(name));
    }
    return ports;
}

/// The wizard at its connect page, or the legacy window.
class Window
{
public:
    explicit Window(const QString &kind)
    {
        if (kind == QLatin1String("legacy")) {
            legacy = std::make_unique<MainWindow>();
            top = legacy.get();
        } else {
            wizard = std::make_unique<WizardDriver>();
            top = &wizard->wizard();
        }
    }

    template <typename Widget>
    Widget *find(const char *name) const
    {
        return top->findChild<Widget *>(QString::fromLatin1(name));
    }
    QComboBox *box() const { return find<QComboBox>("cmbComPorts"); }
    /// Where the window says why a press of "Connect" opened nothing.
    QString problem() const
    {
        return legacy ? legacy->statusBar()->currentMessage() : find<QLabel>("lblPortProblem")->text();
    }

    std::unique_ptr<MainWindow> legacy;
    std::unique_ptr<WizardDriver> wizard;
    QWidget *top = nullptr;
};
}

class PortBoxTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void followsTheCable_data();
    void followsTheCable();
    void emptyListExplainsItself_data();
    void emptyListExplainsItself();
    void connectWithNothingSaysWhy_data();
    void connectWithNothingSaysWhy();
    void legacyWindowOpensATypedPortAndRemembersIt();

private:
    std::unique_ptr<TestSettings> settings;
    QList<QextPortInfo> systemPorts;
    AnnouncingSource *announcer = nullptr; // the last source made, owned by its watch
};

void PortBoxTest::initTestCase()
{
    settings = std::make_unique<TestSettings>();
    QVERIFY(settings->isIsolated());
    Startup::registerMetaTypes();
}

void PortBoxTest::init()
{
    settings->clear();
    TestSettings::setShowIntro(false);
    systemPorts.clear();
    QextSerialEnumerator::setPortSource([this] { return systemPorts; });
    PortEventSource::setFactory([this] {
        auto source = std::make_unique<AnnouncingSource>();
        announcer = source.get();
        return std::unique_ptr<PortEventSource>(std::move(source));
    });
}

void PortBoxTest::cleanup()
{
    QextSerialEnumerator::setPortSource({});
    PortEventSource::setFactory({});
    announcer = nullptr;
}

void PortBoxTest::followsTheCable_data()
{
    QTest::addColumn<QString>("window");
    QTest::addColumn<QString>("remembered");
    QTest::addColumn<QStringList>("before");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<int>("chosenRow"); // -1: left as the box selected it
    QTest::addColumn<QStringList>("after");
    QTest::addColumn<QString>("shown");

    const QString usb0 = QStringLiteral("/dev/ttyUSB0");
    const QString usb1 = QStringLiteral("/dev/ttyUSB1");
    const QString usb2 = QStringLiteral("/dev/ttyUSB2");
    for (const char *window : {"wizard", "legacy"}) {
        const auto row = [window](const char *name) -> QTestData & {
            return QTest::addRow("%s: %s", window, name) << QString::fromLatin1(window);
        };
        row("the only bridge appears and is selected") << QString() << QStringList() << QString() << -1
                                                       << QStringList{usb1} << usb1;
        row("the last port is selected when it appears") << usb2 << QStringList() << QString() << -1
                                                         << QStringList{usb0, usb2} << usb2;
        row("the last port is selected at start") << usb1 << QStringList{usb0, usb1} << QString() << -1
                                                   << QStringList{usb0, usb1} << usb1;
        row("typed text stays") << QString() << QStringList() << QStringLiteral("/dev/ttyS4") << -1
                                << QStringList{usb0} << QStringLiteral("/dev/ttyS4");
        row("the choice stays when another bridge comes") << QString() << QStringList{usb0, usb1} << QString() << 1
                                                          << QStringList{usb2, usb0, usb1} << usb1;
        row("the chosen port stays shown when it goes") << QString() << QStringList{usb0, usb1} << QString() << 0
                                                        << QStringList{usb1} << usb0;
    }
}

void PortBoxTest::followsTheCable()
{
    QFETCH(QString, window);
    QFETCH(QString, remembered);
    QFETCH(QStringList, before);
    QFETCH(QString, typed);
    QFETCH(int, chosenRow);
    QFETCH(QStringList, after);
    QFETCH(QString, shown);

    if (!remembered.isEmpty())
        PortBox::remember(remembered);
    systemPorts = ftdiPorts(before);
    Window opened(window);
    QComboBox *box = opened.box();
    QVERIFY(announcer);
    if (chosenRow >= 0)
        box->setCurrentIndex(chosenRow);
    if (!typed.isEmpty())
        QTest::keyClicks(box->lineEdit(), typed);

    systemPorts = ftdiPorts(after);
    announcer->announce();
    QTRY_COMPARE(box->count(), int(after.size()));
    QTest::qWait(settledMs);
    QCOMPARE(box->currentText(), shown);
}

void PortBoxTest::emptyListExplainsItself_data()
{
    QTest::addColumn<QString>("window");
    QTest::newRow("wizard") << QStringLiteral("wizard");
    QTest::newRow("legacy") << QStringLiteral("legacy");
}

void PortBoxTest::emptyListExplainsItself()
{
    QFETCH(QString, window);
    Window opened(window);
    auto *advice = opened.find<QLabel>("lblPortAdvice");
    QVERIFY(!advice->isHidden());
    for (const char *part : {"No serial port behind a supported USB bridge was found.", "\"dialout\"",
                             "FTDI FT232 USB-UART (USB 0403:6001)", "Silicon Labs CP210x USB-UART (USB 10c4:ea60)",
                             "The port of another bridge can be typed into the box."})
        QVERIFY2(advice->text().contains(QLatin1String(part)), qPrintable(advice->text()));

    systemPorts = ftdiPorts({QStringLiteral("/dev/ttyUSB0")});
    QTest::mouseClick(opened.find<QPushButton>("btnEnumerate"), Qt::LeftButton);
    QVERIFY(advice->isHidden());
    systemPorts.clear();
    QTest::mouseClick(opened.find<QPushButton>("btnEnumerate"), Qt::LeftButton);
    QVERIFY(!advice->isHidden());
}

void PortBoxTest::connectWithNothingSaysWhy_data()
{
    emptyListExplainsItself_data();
}

void PortBoxTest::connectWithNothingSaysWhy()
{
    QFETCH(QString, window);
    Window opened(window);
    QVERIFY(opened.box()->currentText().isEmpty());
    QTest::mouseClick(opened.find<QPushButton>("btnConnect"), Qt::LeftButton);
    QCOMPARE(opened.problem(), PortBox::nothingToOpenText());
    QVERIFY(opened.find<QPushButton>("btnConnect")->isEnabled());
}

void PortBoxTest::legacyWindowOpensATypedPortAndRemembersIt()
{
    SimulatedBikeComputer device{0x51};
    QVERIFY(device.start());
    systemPorts = ftdiPorts({QStringLiteral("/dev/no-such-port")});
    {
        Window opened(QStringLiteral("legacy"));
        opened.box()->lineEdit()->selectAll();
        QTest::keyClicks(opened.box()->lineEdit(), device.portName());
        QTest::mouseClick(opened.find<QPushButton>("btnConnect"), Qt::LeftButton);
        QTRY_COMPARE_WITH_TIMEOUT(opened.find<QLabel>("txtDeviceModel")->text(), QStringLiteral("Lumo 60"), deviceWaitMs);
        opened.legacy->getConnection()->close();
        QTRY_COMPARE_WITH_TIMEOUT(opened.legacy->getConnection()->getConnectionState(), Closed, deviceWaitMs);
    }
    QCOMPARE(PortBox::remembered(), device.portName());
    systemPorts = ftdiPorts({QStringLiteral("/dev/no-such-port"), device.portName()});
    Window reopened(QStringLiteral("legacy"));
    QCOMPARE(reopened.box()->currentText(), device.portName());
}

QTEST_MAIN(PortBoxTest)
#include "tst_portbox.moc"
