// SPDX-License-Identifier: GPL-3.0-or-later
#include "outpost/SporticsUploader.h"

#include "outpost/Outposter.h"

#include <QCryptographicHash>
#include <QDebug>
#include <QNetworkAccessManager>
#include <QNetworkRequest>
#include <QSettings>
#include <QSslConfiguration>
#include <QTimer>

#include <sstream>

namespace {

const QString UploadPath = QStringLiteral("/dt/units/import/upload.fit");
const QString UploadQuery = QStringLiteral("domain=sport");
constexpr int Created = 201;

} // namespace

const QString SporticsUploader::DefaultServer = QStringLiteral("https://www.sportics.com");
const QString SporticsUploader::ServerSettingsKey = QStringLiteral("sportics/upload_server");

SporticsUploader::SporticsUploader(QObject *parent)
    : QObject(parent), m_manager(new QNetworkAccessManager(this)), m_server(configuredServer())
{
    connect(m_manager, &QNetworkAccessManager::finished, this, &SporticsUploader::handleReply);
}

SporticsUploader::~SporticsUploader() = default;

QUrl SporticsUploader::configuredServer()
{
    const QSettings settings(QStringLiteral("Velquist"), QStringLiteral("Pacerow"));
    return QUrl(settings.value(ServerSettingsKey, DefaultServer).toString());
}

QUrl SporticsUploader::uploadUrl(const QUrl &server)
{
    QUrl url = server;
    url.setPath(UploadPath);
    url.setQuery(UploadQuery);
    url.setFragment(QString());
    return url;
}

QByteArray SporticsUploader::authorization(const QString &user, const QString &password)
{
    const QByteArray digest = QCryptographicHash::hash(password.toLatin1(), QCryptographicHash::Sha256).toHex();
    return "Basic " + (user.toLatin1() + ':' + digest).toBase64();
}

void SporticsUploader::setCaCertificates(const QList<QSslCertificate> &certificates)
{
    m_caCertificates = certificates;
}

void SporticsUploader::upload(const QString &user, const QString &password, const QByteArray &record)
{
    std::stringstream stream(std::ios::in | std::ios::out | std::ios::binary);
    // A record too short to be a ride gives no file; an empty upload would only be refused.
    if (Outposter::exportToStream(stream, record) != 0) {
        failLater(tr("The ride record cannot be turned into a FIT file."));
        return;
    }
    uploadInternal(user, password, QByteArray::fromStdString(stream.str()));
}

void SporticsUploader::uploadInternal(const QString &user, const QString &password, const QByteArray &fitBytes)
{
    const QUrl url = uploadUrl(m_server);
    // The Authorization header can be read and replayed by anyone on the path unless encrypted.
    if (url.scheme() != QLatin1String("https") || url.host().isEmpty()) {
        failLater(tr("The portal's address %1 is not an https:// address; the credentials are sent over "
                     "https only.")
                      .arg(m_server.toDisplayString()));
        return;
    }

    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/octet-stream"));
    request.setRawHeader(QByteArrayLiteral("Authorization"), authorization(user, password));
    request.setTransferTimeout(int(m_transferTimeout.count()));
    if (!m_caCertificates.isEmpty()) {
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.setCaCertificates(m_caCertificates);
        request.setSslConfiguration(tls);
    }
    QNetworkReply *reply = m_manager->post(request, fitBytes);
    m_inFlight.insert(reply);
    connect(reply, &QNetworkReply::uploadProgress, this, &SporticsUploader::uploadProgress);
}

void SporticsUploader::abort()
{
    // Taken out of the set first, so that the finished replies end without a signal.
    const QSet<QNetworkReply *> cancelled = std::exchange(m_inFlight, {});
    for (QNetworkReply *reply : cancelled)
        reply->abort();
}

void SporticsUploader::handleReply(QNetworkReply *reply)
{
    reply->deleteLater();
    if (!m_inFlight.remove(reply))
        return;

    // An aborted reply is closed already and has nothing to read.
    const QByteArray body = reply->isOpen() ? reply->readAll() : QByteArray();
    qDebug() << "reply : " << int(reply->error()) << QString::fromUtf8(body);
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status == Created && reply->error() == QNetworkReply::NoError) {
        m_lastOutcome = UploadOutcome{status, QNetworkReply::NoError, QString(), false};
        emit uploadComplete();
        return;
    }

    qDebug() << "Error: " << reply->errorString() << ", status code: " << status;
    // The transfer time-out aborts the reply, which reads as a cancellation that nobody asked for.
    const bool timedOut =
        reply->error() == QNetworkReply::OperationCanceledError || reply->error() == QNetworkReply::TimeoutError;
    QString reason = timedOut ? tr("The portal did not answer within %1 s.")
                                    .arg(std::chrono::duration<double>(m_transferTimeout).count())
                              : reply->errorString();
    if (reply->error() == QNetworkReply::NoError)
        reason = tr("The portal answered with HTTP status %1 instead of 201.").arg(status);
    m_lastOutcome = UploadOutcome{status, reply->error(), reason, timedOut};
    emit uploadFailed();
}

void SporticsUploader::failLater(const QString &reason)
{
    m_lastOutcome = UploadOutcome{0, QNetworkReply::ProtocolUnknownError, reason, false};
    QTimer::singleShot(0, this, &SporticsUploader::uploadFailed);
}
