// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop notification after a ride was written: against a stand-in notification service on a
// private session bus that the test starts, and on that bus without any service.

#include "TestSettings.h"
#include "WizardDriver.h"

#include "velodesk/DoneNotification.h"
#include "velodesk/Startup.h"

#include "tools/simulator/SimulatedBikeComputer.h"

#include <QApplication>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <sys/types.h>

namespace {
const QString serviceName = QStringLiteral("org.freedesktop.Notifications");
const QString servicePath = QStringLiteral("/org/freedesktop/Notifications");
constexpr uint standInId = 7;
constexpr int deviceWaitMs = int(WizardDriver::DeviceWait.count());

/// A session bus of the test's own: a dbus-daemon started before the application, so that the
/// program's first use of the session bus reaches it; stopped with the object.
class PrivateSessionBus
{
public:
    PrivateSessionBus()
    {
        // The shell gives its process to the daemon, so the pid printed is that of popen's child,
        // which pclose waits for.
        out = popen("exec dbus-daemon --session --nofork --print-address=1 --print-pid=1", "r");
        if (!out)
            return;
        char address[512] = {};
        char pidLine[32] = {};
        if (!std::fgets(address, sizeof address, out) || !std::fgets(pidLine, sizeof pidLine, out))
            return;
        pid = pid_t(std::atol(pidLine));
        setenv("DBUS_SESSION_BUS_ADDRESS", QByteArray(address).trimmed().constData(), 1);
    }
    ~PrivateSessionBus()
    {
        if (pid > 0)
            kill(pid, SIGTERM);
        if (out)
            pclose(out);
    }
    bool isRunning() const { return pid > 0; }

private:
    FILE *out = nullptr;
    pid_t pid = 0;
};

/// Stands in for the desktop's notification service: notes every notification asked for.
class StandInNotifications : public QObject
{
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")

public:
    struct Shown
    {
        QString appName;
        QString summary;
        QString body;
        QStringList actions;
    };
    QList<Shown> shown;

public slots:
    uint Notify(const QString &appName, uint, const QString &, const QString &summary, const QString &body,
                const QStringList &actions, const QVariantMap &, int)
    {
        shown.append({appName, summary, body, actions});
        return standInId;
    }

signals:
    void NotificationClosed(uint id, uint reason);
    void ActionInvoked(uint id, const QString &action_key);
};

/// Takes the folder the program asks the desktop to open, instead of opening it.
class FolderRequests : public QObject
{
    Q_OBJECT

public:
    QList<QUrl> urls;

public slots:
    void open(const QUrl &url) { urls.append(url); }
};
}

class DoneNotificationTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();
    void finishNotifiesAndOffersTheFolder();
    void closingEndsTheOffer();
    void nothingWithoutAService();

private:
    /// Drives a wizard through a ride of a Lumo 20 and presses Finish with the path.
    bool exportRide(WizardDriver &driver, const QString &path);
    void registerStandIn();

    std::unique_ptr<TestSettings> settings;
    QTemporaryDir outputFolder;
    QDBusConnection serviceBus{QString()};
    StandInNotifications standIn;
    FolderRequests folders;
    std::unique_ptr<SimulatedBikeComputer> device;
};

void DoneNotificationTest::initTestCase()
{
    settings = std::make_unique<TestSettings>();
    QVERIFY(settings->isIsolated());
    Startup::registerMetaTypes();
    QVERIFY(outputFolder.isValid());
    QVERIFY(QDBusConnection::sessionBus().isConnected());
    // The service speaks on a connection of its own, as a separate program would.
    serviceBus = QDBusConnection::connectToBus(QDBusConnection::SessionBus, QStringLiteral("stand-in"));
    QVERIFY(serviceBus.isConnected());
    QVERIFY(serviceBus.registerObject(servicePath, &standIn, QDBusConnection::ExportAllSlots
                                                                 | QDBusConnection::ExportAllSignals));
    QDesktopServices::setUrlHandler(QStringLiteral("file"), &folders, "open");
}

void DoneNotificationTest::init()
{
    settings->clear();
    TestSettings::setShowIntro(false);
    standIn.shown.clear();
    folders.urls.clear();
}

void DoneNotificationTest::cleanup()
{
    serviceBus.unregisterService(serviceName);
    device.reset();
}

void DoneNotificationTest::registerStandIn()
{
    QVERIFY(serviceBus.registerService(serviceName));
    QTRY_VERIFY(QDBusConnection::sessionBus().interface()->isServiceRegistered(serviceName));
}

bool DoneNotificationTest::exportRide(WizardDriver &driver, const QString &path)
{
    device = std::make_unique<SimulatedBikeComputer>(quint8(0x21));
    if (!device->start() || !driver.goToFilePage(device->portName(), *device->model()))
        return false;
    QTest::keyClicks(driver.find<QLineEdit>(QStringLiteral("fileEdit")), path);
    return driver.press(QWizard::FinishButton) && QFile::exists(path);
}

void DoneNotificationTest::finishNotifiesAndOffersTheFolder()
{
    registerStandIn();
    WizardDriver driver;
    QSignalSpy done(&driver.wizard(), &ExportWizard::allDone);
    QSignalSpy released(&driver.wizard(), &ExportWizard::linkReleased);
    const QString path = outputFolder.filePath(QStringLiteral("ride.fit"));
    QVERIFY(exportRide(driver, path));

    QTRY_COMPARE(standIn.shown.size(), 1);
    const StandInNotifications::Shown &shown = standIn.shown.first();
    QCOMPARE(shown.appName, QStringLiteral("Pacerow"));
    QCOMPARE(shown.summary, QStringLiteral("Ride exported"));
    QCOMPARE(shown.body, QStringLiteral("Written to %1").arg(path));
    QCOMPARE(shown.actions, QStringList({"open-folder", "Open folder"}));

    // The link closes, but the program stays for the offer until the user takes it up.
    QTRY_COMPARE_WITH_TIMEOUT(released.count(), 1, deviceWaitMs);
    QVERIFY(driver.wizard().findChild<DoneNotification *>()->isPending());
    QCOMPARE(done.count(), 0);
    emit standIn.ActionInvoked(standInId + 1, QStringLiteral("open-folder")); // someone else's
    emit standIn.ActionInvoked(standInId, QStringLiteral("open-folder"));
    QTRY_COMPARE(folders.urls, QList<QUrl>{QUrl::fromLocalFile(outputFolder.path())});
    QTRY_COMPARE(done.count(), 1);
}

void DoneNotificationTest::closingEndsTheOffer()
{
    registerStandIn();
    DoneNotification notification;
    QSignalSpy settled(&notification, &DoneNotification::settled);
    notification.show(outputFolder.filePath(QStringLiteral("closed.fit")));
    QTRY_COMPARE(standIn.shown.size(), 1);
    QVERIFY(notification.isPending());
    emit standIn.NotificationClosed(standInId, 2);
    QTRY_COMPARE(settled.count(), 1);
    QVERIFY(!notification.isPending());
    QVERIFY(folders.urls.isEmpty());
}

void DoneNotificationTest::nothingWithoutAService()
{
    WizardDriver driver;
    QSignalSpy done(&driver.wizard(), &ExportWizard::allDone);
    const QString path = outputFolder.filePath(QStringLiteral("quiet.fit"));
    QVERIFY(exportRide(driver, path));
    QCOMPARE(driver.wizard().result(), int(QDialog::Accepted));
    // The program ends as soon as the link has closed; nothing was shown or opened.
    QTRY_COMPARE_WITH_TIMEOUT(done.count(), 1, deviceWaitMs);
    QVERIFY(!driver.wizard().findChild<DoneNotification *>()->isPending());
    QVERIFY(standIn.shown.isEmpty());
    QVERIFY(folders.urls.isEmpty());
}

int main(int argc, char *argv[])
{
    PrivateSessionBus bus;
    if (!bus.isRunning()) {
        std::fprintf(stderr, "dbus-daemon could not be started\n");
        return 1;
    }
    QApplication app(argc, argv);
    DoneNotificationTest test;
    const int result = QTest::qExec(&test, argc, argv);
    QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    return result;
}

#include "tst_donenotification.moc"
