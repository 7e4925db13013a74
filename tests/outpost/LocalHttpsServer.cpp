// SPDX-License-Identifier: GPL-3.0-or-later
#include "LocalHttpsServer.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSslConfiguration>
#include <QSslServer>
#include <QSslSocket>

QString LocalHttpsServer::certificatePath(const QString &folder)
{
    return QDir(folder).filePath(QStringLiteral("server.crt"));
}

bool LocalHttpsServer::makeCertificate(const QString &folder, QString *error)
{
    QProcess openssl;
    openssl.start(QStringLiteral("openssl"),
                  {"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes", "-days", "2",
                   "-subj", "/CN=127.0.0.1", "-addext", "subjectAltName=IP:127.0.0.1", "-keyout",
                   QDir(folder).filePath(QStringLiteral("server.key")), "-out", certificatePath(folder)});
    if (!openssl.waitForFinished(60000) || openssl.exitStatus() != QProcess::NormalExit || openssl.exitCode() != 0) {
        *error = QStringLiteral("openssl failed: %1 %2")
                     .arg(openssl.errorString(), QString::fromLocal8Bit(openssl.readAllStandardError()));
        return false;
    }
    return true;
}

bool LocalHttpsServer::start(Transport transport, const QString &certificateFolder)
{
    m_transport = transport;
    if (transport == Transport::Tls) {
        auto server = std::make_unique<QSslServer>();
        QFile key(QDir(certificateFolder).filePath(QStringLiteral("server.key")));
        if (!key.open(QIODevice::ReadOnly))
            return false;
        QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
        tls.setLocalCertificate(QSslCertificate::fromPath(certificatePath(certificateFolder)).value(0));
        tls.setPrivateKey(QSslKey(key.readAll(), QSsl::Ec));
        tls.setPeerVerifyMode(QSslSocket::VerifyNone);
        server->setSslConfiguration(tls);
        connect(server.get(), &QSslServer::startedEncryptionHandshake, this, [this] { ++m_connections; });
        m_server = std::move(server);
    } else {
        m_server = std::make_unique<QTcpServer>();
        connect(m_server.get(), &QTcpServer::pendingConnectionAvailable, this, [this] { ++m_connections; });
    }
    connect(m_server.get(), &QTcpServer::pendingConnectionAvailable, this, &LocalHttpsServer::accept);
    return m_server->listen(QHostAddress::LocalHost);
}

QUrl LocalHttpsServer::url() const
{
    return QUrl(QStringLiteral("%1://127.0.0.1:%2")
                    .arg(m_transport == Transport::Tls ? QStringLiteral("https") : QStringLiteral("http"))
                    .arg(m_server->serverPort()));
}

void LocalHttpsServer::accept()
{
    while (QTcpSocket *socket = m_server->nextPendingConnection()) {
        socket->setParent(this);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { read(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        read(socket);
    }
}

void LocalHttpsServer::read(QTcpSocket *socket)
{
    QByteArray &buffer = m_pending[socket];
    buffer += socket->readAll();
    const qsizetype headerEnd = buffer.indexOf("\r\n\r\n");
    if (headerEnd < 0)
        return;
    Request request;
    const QList<QByteArray> lines = buffer.left(headerEnd).split('\n');
    const QList<QByteArray> requestLine = lines.value(0).trimmed().split(' ');
    request.method = requestLine.value(0);
    request.target = requestLine.value(1);
    for (const QByteArray &line : lines.mid(1)) {
        const qsizetype colon = line.indexOf(':');
        if (colon > 0)
            request.headers.insert(line.left(colon).trimmed().toLower(), line.mid(colon + 1).trimmed());
    }
    const qsizetype length = request.headers.value("content-length").toLongLong();
    if (buffer.size() < headerEnd + 4 + length)
        return;
    request.body = buffer.mid(headerEnd + 4, length);
    m_pending.remove(socket);
    m_requests << request;
    if (m_status == 0)
        return;
    const QByteArray body = "answer of the local portal";
    socket->write("HTTP/1.1 " + QByteArray::number(m_status) + " Status\r\nContent-Length: "
                  + QByteArray::number(body.size()) + "\r\nConnection: close\r\n\r\n" + body);
    socket->disconnectFromHost();
}
