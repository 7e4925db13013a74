// SPDX-License-Identifier: GPL-3.0-or-later
// Start-up of the desktop program: the window the command line selects, the version lines,
// the application identity and the value types registered for queued signals.

#include "TestSettings.h"

#include "velodesk/ExportWizard.h"
#include "velodesk/MainWindow.h"
#include "velodesk/Startup.h"

#include "linkhub/ConnectionState.h"
#include "linkhub/ModelData.h"

#include <QApplication>
#include <QMetaType>
#include <QRegularExpression>
#include <QTest>

#include <algorithm>
#include <memory>

namespace {
QStringList capturedLines;

void captureMessage(QtMsgType, const QMessageLogContext &, const QString &message)
{
    capturedLines.append(message);
}
}

class StartupTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void selectsWindow_data();
    void selectsWindow();
    void findsLogPath_data();
    void findsLogPath();
    void legacyRequestOpensMainWindow();
    void wizardNeedsNoWarning();
    void logsFourVersionLines();
    void setsIdentity();
    void registersMetaTypes();

private:
    std::unique_ptr<TestSettings> settings;
};

void StartupTest::initTestCase()
{
    settings = std::make_unique<TestSettings>();
    QVERIFY(settings->isIsolated());
}

void StartupTest::selectsWindow_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("legacy");

    const QString program = QStringLiteral("velodesk");
    QTest::newRow("no argument") << QStringList{program} << false;
    QTest::newRow("--legacy alone") << QStringList{program, "--legacy"} << true;
    QTest::newRow("upper case") << QStringList{program, "--LEGACY"} << false;
    QTest::newRow("mixed case") << QStringList{program, "--Legacy"} << false;
    QTest::newRow("appended text") << QStringList{program, "--legacyx"} << false;
    QTest::newRow("appended blank") << QStringList{program, "--legacy "} << false;
    QTest::newRow("single dash") << QStringList{program, "-legacy"} << false;
    QTest::newRow("no dash") << QStringList{program, "legacy"} << false;
    QTest::newRow("with a second argument") << QStringList{program, "--legacy", "x"} << false;
    QTest::newRow("after another argument") << QStringList{program, "x", "--legacy"} << false;
    QTest::newRow("other argument") << QStringList{program, "--help"} << false;
    QTest::newRow("--legacy with a log") << QStringList{program, "--legacy", "--log", "wire.log"} << false;
}

void StartupTest::selectsWindow()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, legacy);

    QCOMPARE(Startup::selectWindow(arguments) == Startup::Window::Legacy, legacy);
}

void StartupTest::findsLogPath_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<QString>("path");

    const QString program = QStringLiteral("velodesk");
    QTest::newRow("none") << QStringList{program} << QString();
    QTest::newRow("separate") << QStringList{program, "--log", "wire.log"} << "wire.log";
    QTest::newRow("joined") << QStringList{program, "--log=/tmp/a b.log"} << "/tmp/a b.log";
    QTest::newRow("after --legacy") << QStringList{program, "--legacy", "--log", "w.log"} << "w.log";
    QTest::newRow("name missing") << QStringList{program, "--log"} << QString();
    QTest::newRow("program name only") << QStringList{"--log"} << QString();
}

void StartupTest::findsLogPath()
{
    QFETCH(QStringList, arguments);
    QFETCH(QString, path);

    QCOMPARE(Startup::logPath(arguments), path);
}

void StartupTest::legacyRequestOpensMainWindow()
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
    std::unique_ptr<QWidget> window(Startup::createWindow({QStringLiteral("velodesk"), QStringLiteral("--legacy")}));
    QVERIFY(qobject_cast<MainWindow *>(window.get()));
    QVERIFY(!window->parent());
    // Nothing else: no wizard is made alongside.
    const QWidgetList windows = QApplication::topLevelWidgets();
    QVERIFY(std::none_of(windows.cbegin(), windows.cend(), [](QWidget *other) {
        return qobject_cast<ExportWizard *>(other) != nullptr;
    }));
}

void StartupTest::wizardNeedsNoWarning()
{
    QTest::failOnWarning(QRegularExpression(QStringLiteral(".*")));
    std::unique_ptr<QWidget> window(Startup::createWindow({QStringLiteral("velodesk")}));
    QVERIFY(qobject_cast<ExportWizard *>(window.get()));
    QVERIFY(!qobject_cast<MainWindow *>(window.get()));
}

void StartupTest::logsFourVersionLines()
{
    capturedLines.clear();
    const QtMessageHandler previous = qInstallMessageHandler(captureMessage);
    Startup::logVersions();
    qInstallMessageHandler(previous);

    QCOMPARE(capturedLines.size(), 4);
    // Each line is the label (ending in a blank), the stream's separator and the value.
    QCOMPARE(capturedLines.at(0), QStringLiteral("gcc version:  ") + QStringLiteral(__VERSION__));
    QCOMPARE(capturedLines.at(1), QStringLiteral("linked qt version:  ") + QStringLiteral(QT_VERSION_STR));
    QCOMPARE(capturedLines.at(2), QStringLiteral("qt version:  ") + QString::fromLatin1(qVersion()));
    QCOMPARE(capturedLines.at(3), QStringLiteral("app version:  0.1"));
}

void StartupTest::setsIdentity()
{
    QCoreApplication::setApplicationName(QStringLiteral("other"));
    QCoreApplication::setOrganizationName(QStringLiteral("other"));
    Startup::setIdentity();
    QCOMPARE(QCoreApplication::applicationName(), QStringLiteral("Pacerow"));
    QCOMPARE(QCoreApplication::applicationVersion(), QStringLiteral("0.1"));
    QCOMPARE(QCoreApplication::organizationName(), QStringLiteral("Velquist"));
}

void StartupTest::registersMetaTypes()
{
    Startup::registerMetaTypes();
    for (const char *name : {"ModelData", "ErrorMessage", "ConnectionState"}) {
        const QMetaType type = QMetaType::fromName(name);
        QVERIFY2(type.isValid(), name);
        QCOMPARE(QByteArray(type.name()), QByteArray(name));
    }
    QCOMPARE(QMetaType::fromName("ModelData"), QMetaType::fromType<ModelData>());
    QCOMPARE(QMetaType::fromName("ConnectionState"), QMetaType::fromType<ConnectionState>());
    QCOMPARE(QMetaType::fromName("ErrorMessage"), QMetaType::fromType<ErrorMessage>());
}

QTEST_MAIN(StartupTest)
#include "tst_startup.moc"
