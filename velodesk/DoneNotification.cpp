// SPDX-License-Identifier: GPL-3.0-or-later
#include "velodesk/DoneNotification.h"

#include "notifications_interface.h"

#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDebug>
#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QUrl>

namespace {
const QString serviceName = QStringLiteral("org.freedesktop.Notifications");
const QString servicePath = QStringLiteral("/org/freedesktop/Notifications");
// Let the service decide how long the notification stays on the screen.
constexpr int serverDefaultTimeout = -1;
}

DoneNotification::DoneNotification(QObject *parent) : QObject(parent)
{
    offer.setSingleShot(true);
    connect(&offer, &QTimer::timeout, this, &DoneNotification::settle);
}

DoneNotification::~DoneNotification() = default;

void DoneNotification::show(const QString &path)
{
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected())
        return;
    folder = QFileInfo(path).absolutePath();
    service = std::make_unique<OrgFreedesktopNotificationsInterface>(serviceName, servicePath, bus);
    connect(service.get(), &OrgFreedesktopNotificationsInterface::ActionInvoked, this,
            &DoneNotification::onActionInvoked);
    connect(service.get(), &OrgFreedesktopNotificationsInterface::NotificationClosed, this,
            &DoneNotification::onClosed);

    pending = true;
    offer.start(OfferPeriod);
    const QStringList actions{QString::fromLatin1(OpenFolderAction), tr("Open folder")};
    auto *watcher = new QDBusPendingCallWatcher(
        service->Notify(QCoreApplication::applicationName(), 0, QString(), tr("Ride exported"),
                        tr("Written to %1").arg(QDir::toNativeSeparators(path)), actions, QVariantMap(),
                        serverDefaultTimeout),
        this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *call) {
        call->deleteLater();
        const QDBusPendingReply<uint> reply = *call;
        if (reply.isError()) {
            // No notification service runs: there is nothing to show the user, and nothing wrong.
            qDebug() << "no desktop notification:" << reply.error().name();
            settle();
            return;
        }
        shownId = reply.value();
    });
}

void DoneNotification::onActionInvoked(uint notificationId, const QString &actionKey)
{
    if (!pending || notificationId != shownId || actionKey != QLatin1String(OpenFolderAction))
        return;
    QDesktopServices::openUrl(QUrl::fromLocalFile(folder));
    settle();
}

void DoneNotification::onClosed(uint notificationId, uint)
{
    if (pending && notificationId == shownId)
        settle();
}

void DoneNotification::settle()
{
    if (!pending)
        return;
    pending = false;
    offer.stop();
    emit settled();
}
