// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "outpost/outpost_global.h"

#include <QByteArray>
#include <QDialog>

#include <memory>

namespace Ui {
class UploadDialog;
}

class SporticsUploader;

/// Asks for the portal credentials and uploads a raw ride record to the Sportics portal, showing
/// a busy indicator while it runs and the outcome in a message box. Cancel stops an upload in
/// flight; after a failure the dialog stays open for another try.
class OUTPOST_EXPORT UploadDialog : public QDialog
{
    Q_OBJECT

public:
    UploadDialog(const QByteArray &record, QWidget *parent = nullptr);
    ~UploadDialog() override;

    /// The uploader, for pointing it at another server or trusting other certificates.
    SporticsUploader *uploader() const { return m_uploader; }

public slots:
    /// Starts an upload with the credentials entered; the dialog stays open while it runs.
    void accept() override;
    /// Aborts an upload in flight and closes the dialog.
    void reject() override;
    void uploadComplete();
    void uploadFailed();

private:
    void showFinished(int value);

    std::unique_ptr<Ui::UploadDialog> m_ui;
    QByteArray m_record;
    SporticsUploader *m_uploader;
};
