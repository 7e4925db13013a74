// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QObject>
#include <QSslCertificate>
#include <QSslKey>
#include <QTcpServer>
#include <QUrl>

#include <memory>

class QTcpSocket;

/// An HTTP server on 127.0.0.1 for the upload tests, with TLS and a certificate made for it, or
/// plain. It records every request and answers each with one status, or never answers.
class LocalHttpsServer : public QObject
{
public:
    struct Request
    {
        QByteArray method;
        QByteArray target; ///< path and query
        QMap<QByteArray, QByteArray> headers; ///< names in lower case
        QByteArray body;
    };

    enum class Transport { Tls, Plain };

    /// Makes a self-signed certificate for 127.0.0.1 with the openssl program, in `folder`.
    /// False when it cannot (`error` tells why).
    static bool makeCertificate(const QString &folder, QString *error);
    static QString certificatePath(const QString &folder);

    /// Listens on a free port of 127.0.0.1; the certificate is needed for Tls only.
    bool start(Transport transport, const QString &certificateFolder = QString());
    QUrl url() const;

    /// The HTTP status of every answer, or 0 to keep every request waiting for ever.
    void setStatus(int status) { m_status = status; }

    QList<Request> requests() const { return m_requests; }
    /// Connections accepted so far, whether or not they carried a request.
    int connectionCount() const { return m_connections; }

private:
    void accept();
    void read(QTcpSocket *socket);

    std::unique_ptr<QTcpServer> m_server;
    Transport m_transport = Transport::Tls;
    int m_status = 201;
    int m_connections = 0;
    QList<Request> m_requests;
    QMap<QTcpSocket *, QByteArray> m_pending;
};
