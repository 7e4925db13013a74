// SPDX-License-Identifier: GPL-3.0-or-later
#include "LocalPortalCertificate.h"
#include "RawRecordBytes.h"

#include "outpost/Outposter.h"
#include "outpost/SporticsUploader.h"

#include <QSignalSpy>
#include <QTest>

#include <chrono>
#include <sstream>

using namespace std::chrono_literals;

namespace {

const QByteArray Fit = QByteArray::fromHex("0e10200300000000") + ".FIT" + QByteArray(4, '\x01');
constexpr int PatientMs = 30000;

QStringList capturedMessages;

void capture(QtMsgType, const QMessageLogContext &, const QString &message)
{
    capturedMessages << message;
}

} // namespace

class tst_SporticsUploader : public QObject
{
    Q_OBJECT

private:
    LocalPortalCertificate certificate;
    std::unique_ptr<LocalHttpsServer> server;

private slots:
    void initTestCase()
    {
        certificate.make();
    }

    void init()
    {
        QVERIFY(certificate.startServer(server));
    }

    void statusDecidesTheOutcome_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("complete");
        QTest::newRow("201 Created") << 201 << true;
        QTest::newRow("200 OK is not enough") << 200 << false;
        QTest::newRow("401 Unauthorized") << 401 << false;
        QTest::newRow("500 Internal Server Error") << 500 << false;
    }

    void statusDecidesTheOutcome()
    {
        QFETCH(int, status);
        QFETCH(bool, complete);
        server->setStatus(status);
        SporticsUploader uploader;
        certificate.trust(uploader, *server);
        QSignalSpy completed(&uploader, &SporticsUploader::uploadComplete);
        QSignalSpy failed(&uploader, &SporticsUploader::uploadFailed);
        uploader.uploadInternal(QStringLiteral("abc"), QString(), Fit);
        QTRY_COMPARE_WITH_TIMEOUT(completed.size() + failed.size(), 1, PatientMs);
        QTest::qWait(100); // a second signal would come now
        QCOMPARE(completed.size(), complete ? 1 : 0);
        QCOMPARE(failed.size(), complete ? 0 : 1);
        QCOMPARE(uploader.lastOutcome().httpStatus, status);
        QVERIFY(!uploader.isBusy());

        const QList<LocalHttpsServer::Request> requests = server->requests();
        QCOMPARE(requests.size(), 1);
        QCOMPARE(requests[0].method, QByteArray("POST"));
        QCOMPARE(requests[0].target, QByteArray("/dt/units/import/upload.fit?domain=sport"));
        QCOMPARE(requests[0].headers.value("content-type"), QByteArray("application/octet-stream"));
        QCOMPARE(requests[0].headers.value("authorization"),
                 QByteArray("Basic YWJjOmUzYjBjNDQyOThmYzFjMTQ5YWZiZjRjODk5NmZiOTI0MjdhZTQxZTQ2NDliOTM0Y2E0OTU5OTFiNzg1MmI4NTU="));
        QCOMPARE(requests[0].body, Fit);
    }

    void authorizationOfLatin1Credentials()
    {
        QCOMPARE(SporticsUploader::authorization(QStringLiteral("rüdiger"), QStringLiteral("päss w0rd")),
                 QByteArray("Basic cvxkaWdlcjo0OGE3ZmEyZWFjYjk3YmFhNDAxZjgyODQ2NWQ5NTE1ZjgxMDVmNzc5ZDljY2E1NGMzYjZlMjgwYWRiMDY4YmY3"));
    }

    void rawRecordIsPostedAsItsFitFile()
    {
        const QByteArray record = RawRecordBytes::header(QDateTime(QDate(2026, 7, 1), QTime(10, 0)), 1)
            + RawRecordBytes::sample(50);
        std::stringstream expected(std::ios::in | std::ios::out | std::ios::binary);
        QCOMPARE(Outposter::exportToStream(expected, record), 0);
        SporticsUploader uploader;
        certificate.trust(uploader, *server);
        QSignalSpy completed(&uploader, &SporticsUploader::uploadComplete);
        uploader.upload(QStringLiteral("abc"), QStringLiteral("secret"), record);
        QVERIFY(completed.wait(PatientMs));
        QCOMPARE(server->requests().value(0).body, QByteArray::fromStdString(expected.str()));
    }

    void recordThatIsNoRideIsNotSent()
    {
        SporticsUploader uploader;
        certificate.trust(uploader, *server);
        QSignalSpy failed(&uploader, &SporticsUploader::uploadFailed);
        uploader.upload(QStringLiteral("abc"), QStringLiteral("secret"), QByteArray(63, '\x01'));
        QVERIFY(failed.wait(PatientMs));
        QTest::qWait(200);
        QCOMPARE(server->connectionCount(), 0);
    }

    void silentServerFailsAfterTheTimeOut()
    {
        server->setStatus(0);
        SporticsUploader uploader;
        certificate.trust(uploader, *server);
        uploader.setTransferTimeout(500ms);
        QSignalSpy failed(&uploader, &SporticsUploader::uploadFailed);
        uploader.uploadInternal(QStringLiteral("abc"), QStringLiteral("secret"), Fit);
        QVERIFY(failed.wait(PatientMs));
        QCOMPARE(server->requests().size(), 1);
        QVERIFY(uploader.lastOutcome().timedOut);
        QVERIFY(!uploader.isBusy());
    }

    void abortEndsTheUploadWithoutASignal()
    {
        server->setStatus(0);
        SporticsUploader uploader;
        certificate.trust(uploader, *server);
        QSignalSpy completed(&uploader, &SporticsUploader::uploadComplete);
        QSignalSpy failed(&uploader, &SporticsUploader::uploadFailed);
        uploader.uploadInternal(QStringLiteral("abc"), QStringLiteral("secret"), Fit);
        QTRY_COMPARE_WITH_TIMEOUT(server->requests().size(), 1, PatientMs);
        uploader.abort();
        QVERIFY(!uploader.isBusy());
        QTest::qWait(200);
        QCOMPARE(completed.size() + failed.size(), 0);
    }

    void untrustedCertificateFails()
    {
        SporticsUploader uploader;
        uploader.setServer(server->url()); // the system's authorities do not know the local one
        QSignalSpy failed(&uploader, &SporticsUploader::uploadFailed);
        uploader.uploadInternal(QStringLiteral("abc"), QStringLiteral("secret"), Fit);
        QVERIFY(failed.wait(PatientMs));
        QCOMPARE(uploader.lastOutcome().error, QNetworkReply::SslHandshakeFailedError);
        QCOMPARE(server->requests().size(), 0);
    }

    void plainHttpIsRefusedBeforeAnythingIsSent()
    {
        LocalHttpsServer plain;
        QVERIFY(plain.start(LocalHttpsServer::Transport::Plain));
        SporticsUploader uploader;
        uploader.setServer(plain.url());
        QSignalSpy failed(&uploader, &SporticsUploader::uploadFailed);
        uploader.uploadInternal(QStringLiteral("abc"), QStringLiteral("secret"), Fit);
        QVERIFY(failed.wait(PatientMs));
        QVERIFY(uploader.lastOutcome().errorText.contains(QLatin1String("https")));
        QTest::qWait(200);
        QCOMPARE(plain.connectionCount(), 0);
    }

    void credentialsNeverReachTheLog()
    {
        server->setStatus(401);
        SporticsUploader uploader;
        certificate.trust(uploader, *server);
        QSignalSpy failed(&uploader, &SporticsUploader::uploadFailed);
        const QString password = QStringLiteral("n0t-in-any-log");
        const QByteArray authorization = SporticsUploader::authorization(QStringLiteral("abc"), password);
        capturedMessages.clear();
        const QtMessageHandler previous = qInstallMessageHandler(capture);
        uploader.uploadInternal(QStringLiteral("abc"), password, Fit);
        const bool ended = failed.wait(PatientMs);
        qInstallMessageHandler(previous);
        QVERIFY(ended);
        QVERIFY(!capturedMessages.isEmpty()); // the reply and the error were logged
        const QString log = capturedMessages.join(QLatin1Char('\n'));
        QVERIFY(!log.contains(password));
        QVERIFY(!log.contains(QString::fromLatin1(authorization.mid(6))));
        QVERIFY(!log.contains(QString::fromLatin1(QByteArray::fromBase64(authorization.mid(6)).mid(4))));
    }

    void defaultServerAndUploadAddress()
    {
        QCOMPARE(SporticsUploader::DefaultServer, QStringLiteral("https://www.sportics.com"));
        QCOMPARE(SporticsUploader::uploadUrl(QUrl(QStringLiteral("https://portal.example:8443/elsewhere?x=1"))),
                 QUrl(QStringLiteral("https://portal.example:8443/dt/units/import/upload.fit?domain=sport")));
    }
};

QTEST_GUILESS_MAIN(tst_SporticsUploader)
#include "tst_sporticsuploader.moc"
