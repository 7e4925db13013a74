// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>
#include <memory>

class OrgFreedesktopNotificationsInterface;

/// After a ride was written: a desktop notification (the freedesktop notification service on the
/// session bus) names the file and offers to open its folder. Without a bus or a service nothing
/// is shown and nothing fails.
class DoneNotification : public QObject
{
    Q_OBJECT

public:
    /// The action key of the offer.
    static constexpr const char *OpenFolderAction = "open-folder";
    /// How long the offer is kept open when the notification is neither answered nor closed.
    static constexpr std::chrono::minutes OfferPeriod{2};

    explicit DoneNotification(QObject *parent = nullptr);
    ~DoneNotification() override;

    /// Shows the notification for a file just written.
    void show(const QString &path);
    /// True while a notification is shown and its offer may still be taken up.
    bool isPending() const { return pending; }

signals:
    /// The notification was answered or closed, could not be shown, or its offer ran out.
    void settled();

private:
    void onActionInvoked(uint notificationId, const QString &actionKey);
    void onClosed(uint notificationId, uint reason);
    void settle();

    std::unique_ptr<OrgFreedesktopNotificationsInterface> service;
    QString folder; // of the file written
    uint shownId = 0; // 0 until the service has answered
    bool pending = false;
    QTimer offer;
};
