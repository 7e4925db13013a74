// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMetaObject>
#include <QTimer>
#include <QWizard>

#include <chrono>
#include <memory>

class ComConnection;
class DoneNotification;

/// The main window: leads from connecting the bike computer to one ride written to a file.
/// Owns the program's one connection and hands it to the pages that talk to the device.
class ExportWizard : public QWizard
{
    Q_OBJECT

public:
    /// Longest wait, after Finish or Cancel, for the link to report that it closed. The device
    /// confirms a close within one answer wait; a silent one is given up after three.
    static constexpr std::chrono::milliseconds CloseGracePeriod{8000};

    explicit ExportWizard(QWidget *parent = nullptr);
    ~ExportWizard() override;

    ComConnection *getConnection() const { return connection.get(); }

signals:
    /// After Finish or Cancel: the link has closed (or stopped answering).
    void linkReleased();
    /// After Finish or Cancel: the link was released and no notification of the written file waits
    /// for its offer to be taken up; the program may end.
    void allDone();

private slots:
    void onReject();
    void onAccept();

private:
    void watchLinkUntilClosed();
    void releaseLink();
    void endWhenDone();

    std::unique_ptr<ComConnection> connection;
    DoneNotification *notification;
    QTimer closeGrace;
    QMetaObject::Connection closeWatch;
    bool releasePending = false;
    bool linkWasReleased = false;
};
