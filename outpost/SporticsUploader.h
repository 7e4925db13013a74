// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "outpost/outpost_global.h"

#include <QByteArray>
#include <QList>
#include <QNetworkReply>
#include <QObject>
#include <QSet>
#include <QSslCertificate>
#include <QString>
#include <QUrl>

#include <chrono>

class QNetworkAccessManager;

/// How the last upload ended, for callers that tell the user the reason.
struct UploadOutcome
{
    int httpStatus = 0; ///< 0 when the portal gave no answer
    QNetworkReply::NetworkError error = QNetworkReply::NoError;
    QString errorText; ///< empty on success
    bool timedOut = false;
};

/// Posts FIT files to the Sportics portal with the user's portal credentials, over HTTPS only and
/// with the server's certificate verified. Everything runs on the thread the uploader lives in.
class OUTPOST_EXPORT SporticsUploader : public QObject
{
    Q_OBJECT

public:
    /// The portal's upload server, unless the settings key or setServer() name another.
    static const QString DefaultServer;
    /// Settings key (organization "Velquist", application "Pacerow") that overrides DefaultServer.
    static const QString ServerSettingsKey;
    static constexpr std::chrono::milliseconds DefaultTransferTimeout{std::chrono::seconds(60)};

    explicit SporticsUploader(QObject *parent = nullptr);
    ~SporticsUploader() override;

    /// Builds the FIT file of a raw ride record in memory and posts it; a record that gives no
    /// FIT file fails without anything sent.
    void upload(const QString &user, const QString &password, const QByteArray &record);
    /// Posts the FIT bytes as they are. Returns at once; the outcome arrives as uploadComplete()
    /// or uploadFailed(). A server address that is not https fails before anything is sent.
    void uploadInternal(const QString &user, const QString &password, const QByteArray &fitBytes);

    /// The server posted to (scheme, host and port; path and query are the portal's own).
    QUrl server() const { return m_server; }
    void setServer(const QUrl &server) { m_server = server; }
    /// The server the settings name, or DefaultServer.
    static QUrl configuredServer();
    /// The full address of an upload to `server`.
    static QUrl uploadUrl(const QUrl &server);
    /// The Authorization header value: Basic, the user name and the SHA-256 digest of the password.
    static QByteArray authorization(const QString &user, const QString &password);

    /// Trusts only these certificate authorities instead of the system's.
    void setCaCertificates(const QList<QSslCertificate> &certificates);
    /// Longest a request may go without any data moving before it fails.
    void setTransferTimeout(std::chrono::milliseconds timeout) { m_transferTimeout = timeout; }

    /// Aborts every upload in flight; they end without a signal.
    void abort();
    /// Whether an upload is in flight.
    bool isBusy() const { return !m_inFlight.isEmpty(); }

    UploadOutcome lastOutcome() const { return m_lastOutcome; }

signals:
    void uploadComplete();
    void uploadFailed();
    void uploadProgress(qint64 bytesSent, qint64 bytesTotal);

public slots:
    /// Handles a finished reply once: status 201 without a network error is success, anything
    /// else failure. The reply is deleted later.
    void handleReply(QNetworkReply *reply);

private:
    void failLater(const QString &reason);

    QNetworkAccessManager *m_manager;
    QUrl m_server;
    QList<QSslCertificate> m_caCertificates;
    std::chrono::milliseconds m_transferTimeout = DefaultTransferTimeout;
    QSet<QNetworkReply *> m_inFlight; ///< replies not handled yet, in posting order irrelevant
    UploadOutcome m_lastOutcome;
};
