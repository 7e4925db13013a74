// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "LocalHttpsServer.h"

#include "outpost/SporticsUploader.h"

#include <QSslCertificate>
#include <QSslSocket>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

/// The certificate of the local portal that the upload tests talk to: made once per test
/// program, shown by a server started afresh for each test function, and trusted by uploaders.
class LocalPortalCertificate
{
public:
    /// For initTestCase(): skips the test program without a TLS backend, otherwise makes the
    /// certificate; the test fails when it cannot.
    void make()
    {
        if (!QSslSocket::supportsSsl())
            QSKIP("no TLS backend in this Qt");
        QString error;
        QVERIFY2(LocalHttpsServer::makeCertificate(folder.path(), &error), qPrintable(error));
    }

    /// Replaces `server` with a new one that shows the certificate; false when it did not start.
    bool startServer(std::unique_ptr<LocalHttpsServer> &server) const
    {
        server = std::make_unique<LocalHttpsServer>();
        return server->start(LocalHttpsServer::Transport::Tls, folder.path());
    }

    /// Sends the uploader to `server` and has it trust the certificate, and that alone.
    void trust(SporticsUploader &uploader, const LocalHttpsServer &server) const
    {
        uploader.setServer(server.url());
        uploader.setCaCertificates(QSslCertificate::fromPath(LocalHttpsServer::certificatePath(folder.path())));
    }

private:
    QTemporaryDir folder;
};
