// SPDX-License-Identifier: GPL-3.0-or-later
#include "VelotoolProcess.h"
#include "support/FileBytes.h"

#include "outpost/FitReader.h"
#include "outpost/LocalHttpsServer.h"

#include "outpost/Outposter.h"
#include "outpost/RawRecordBytes.h"
#include "outpost/SporticsUploader.h"
#include "tools/simulator/RawRideRecord.h"

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSslSocket>
#include <QTemporaryDir>
#include <QTest>

#include <sstream>

namespace {

constexpr quint16 RecordGlobal = 20;
constexpr qint64 FitEpoch = 631065600; // 1989-12-31 00:00:00 UTC in Unix seconds

} // namespace

class tst_VelotoolConvert : public QObject
{
    Q_OBJECT

private:
    QTemporaryDir folder;
    QTemporaryDir certificateFolder;

    QString path(const QString &name) const { return folder.filePath(name); }

    /// Runs velotool while this test's event loop serves the local portal.
    VelotoolRun runServed(const QStringList &arguments, const QByteArray &input)
    {
        QProcess process;
        VelotoolProcess::start(process, arguments);
        process.write(input);
        process.closeWriteChannel();
        [&] { QTRY_COMPARE_WITH_TIMEOUT(process.state(), QProcess::NotRunning, int(VelotoolProcess::RunLimit.count())); }();
        return VelotoolProcess::collect(process, process.state() == QProcess::NotRunning);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(folder.isValid());
        const VelotoolRun simulate =
            VelotoolProcess::run({"simulate", "--write-record", path(QStringLiteral("ride.raw"))});
        QCOMPARE(simulate.exitCode, 0);
        QCOMPARE(FileBytes::read(path(QStringLiteral("ride.raw"))), RawRideRecord::sampleRide());
    }

    void convertsARideRecord()
    {
        const QString output = path(QStringLiteral("ride.fit"));
        QVERIFY(FileBytes::write(output, "an older file"));
        const VelotoolRun run = VelotoolProcess::run({"convert", "-q", path(QStringLiteral("ride.raw")), output});
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.err, QString());
        QCOMPARE(run.out, QStringLiteral("Ride record started 2024-03-16 13:05:00\n"
                                         "  Samples:  9600 (2 time marks)\n"
                                         "  Duration: 03:06:59\n"
                                         "  Distance: 71.382 km\n"
                                         "Written to the FIT file %1\n")
                              .arg(output));
        const QByteArray written = FileBytes::read(output);
        std::stringstream expected(std::ios::in | std::ios::out | std::ios::binary);
        QCOMPARE(Outposter::exportToStream(expected, RawRideRecord::sampleRide()), 0);
        QCOMPARE(written, QByteArray::fromStdString(expected.str()));
        const FitFile file = FitReader::read(written);
        QVERIFY2(file.isValid(), qPrintable(file.error));
        const QList<FitMessage> records = file.messagesOf(RecordGlobal);
        QCOMPARE(records.size(), RawRideRecord::sampleCount());
        QCOMPARE(qint64(records[0].field(253)->raw()) + FitEpoch, RawRideRecord::sampleStart().toSecsSinceEpoch());
    }

    void valueLeftOutIsWarned()
    {
        // One sample of 250.0 km/h: more than the record's speed field holds.
        const QString input = path(QStringLiteral("glitch.raw"));
        QVERIFY(FileBytes::write(input, RawRecordBytes::header(QDateTime(QDate(2026, 7, 1), QTime(10, 0)), 1)
                                            + RawRecordBytes::sample(255, 2500)));
        const VelotoolRun run = VelotoolProcess::run({"convert", "-q", input, path(QStringLiteral("glitch.fit"))});
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(run.errLines().contains(QStringLiteral("FIT field record.speed cannot hold 69.4444 m/s (left out)")),
                 qPrintable(run.err));
    }

    void printsTheRecordAsJson()
    {
        const VelotoolRun run = VelotoolProcess::run(
            {"convert", "--json", "-q", path(QStringLiteral("ride.raw")), path(QStringLiteral("json.fit"))});
        QCOMPARE(run.exitCode, 0);
        const QJsonObject record = QJsonDocument::fromJson(run.out.toUtf8()).object();
        QCOMPARE(record.value("start").toString(), QStringLiteral("2024-03-16T13:05:00"));
        QCOMPARE(record.value("timeMarkCount").toInt(), 2);
        QCOMPARE(record.value("distance").toInteger(), 71381835);
        const QJsonArray samples = record.value("samples").toArray();
        QCOMPARE(samples.size(), RawRideRecord::sampleCount());
        QCOMPARE(samples[0].toObject().value("balance").toInt(), 255);
    }

    void conversionRefusals_data()
    {
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("output");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");
        QTest::newRow("missing record") << "missing.raw" << "out.fit" << 10
                                        << "Cannot read %1/missing.raw: No such file or directory.";
        QTest::newRow("shorter than a header") << "short.raw" << "out.fit" << 10
                                               << "%1/short.raw is not a ride record of the bike computer: it is "
                                                  "shorter than the 64-byte header of a ride record.";
        QTest::newRow("output not a FIT name") << "ride.raw" << "out.csv" << 2
                                               << "The output must be a FIT file, named with \".fit\" at the end. Try "
                                                  "\"velotool convert --help\".";
        QTest::newRow("output folder missing") << "ride.raw" << "missing/out.fit" << 7
                                               << "Cannot write %1/missing/out.fit: the folder %1/missing does not "
                                                  "exist. Create it first, or name a file in another folder.";
    }

    void conversionRefusals()
    {
        QFETCH(QString, input);
        QFETCH(QString, output);
        QFETCH(int, status);
        QFETCH(QString, message);
        QVERIFY(FileBytes::write(path(QStringLiteral("short.raw")), QByteArray(63, '\x01')));
        QVERIFY(FileBytes::write(path(QStringLiteral("out.fit")), "kept"));
        const VelotoolRun run = VelotoolProcess::run({"convert", "-q", path(input), path(output)});
        QCOMPARE(run.exitCode, status);
        QCOMPARE(run.out, QString());
        QCOMPARE(run.err, message.replace(QLatin1String("%1"), folder.path()) + QLatin1Char('\n'));
        QCOMPARE(FileBytes::read(path(QStringLiteral("out.fit"))), QByteArray("kept"));
    }

    void uploads_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<bool>("trusted");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("verdict");
        QTest::newRow("accepted") << 201 << true << 0 << "Uploaded %1 to %2/dt/units/import/upload.fit?domain=sport (HTTP status 201)";
        QTest::newRow("wrong password") << 401 << true << 11 << "The portal refused the upload with HTTP status 401 (Host requires authentication). Check your user name and password.";
        QTest::newRow("200 is not enough") << 200 << true << 11 << "The portal refused the upload with HTTP status 200 (The portal answered with HTTP status 200 instead of 201.). Check your user name and password.";
        QTest::newRow("silent portal") << 0 << true << 12 << "The upload failed: The portal did not answer within 1 s. Nothing was stored at the portal.";
        QTest::newRow("untrusted certificate") << 201 << false << 12 << "The upload failed: SSL handshake failed: The certificate is self-signed, and untrusted. Nothing was stored at the portal.";
    }

    void uploads()
    {
        QFETCH(int, status);
        QFETCH(bool, trusted);
        QFETCH(int, exitCode);
        QFETCH(QString, verdict);
        if (!QSslSocket::supportsSsl())
            QSKIP("no TLS backend in this Qt");
        QString error;
        if (!QFile::exists(LocalHttpsServer::certificatePath(certificateFolder.path())))
            QVERIFY2(LocalHttpsServer::makeCertificate(certificateFolder.path(), &error), qPrintable(error));
        LocalHttpsServer portal;
        QVERIFY(portal.start(LocalHttpsServer::Transport::Tls, certificateFolder.path()));
        portal.setStatus(status);
        const QString fit = path(QStringLiteral("upload.fit"));
        std::stringstream bytes(std::ios::in | std::ios::out | std::ios::binary);
        QCOMPARE(Outposter::exportToStream(bytes, RawRideRecord::sampleRide()), 0);
        QVERIFY(FileBytes::write(fit, QByteArray::fromStdString(bytes.str())));

        QStringList arguments{"upload", fit, "--user", "abc", "--server", portal.url().toString(), "--password-stdin",
                              "--timeout", "1"};
        if (trusted)
            arguments << "--ca-certificates" << LocalHttpsServer::certificatePath(certificateFolder.path());
        const VelotoolRun run = runServed(arguments, "s3cret\n");
        QCOMPARE(run.exitCode, exitCode);
        const QString expected =
            verdict.replace(QLatin1String("%1"), fit).replace(QLatin1String("%2"), portal.url().toString());
        QCOMPARE(exitCode == 0 ? run.out.trimmed() : run.lastErrLine(), expected);
        QVERIFY(run.err.startsWith(QStringLiteral("Uploading %1 bytes to").arg(bytes.str().size())));
        QVERIFY(!run.err.contains(QLatin1String("s3cret")) && !run.out.contains(QLatin1String("s3cret")));
        if (trusted) {
            QCOMPARE(portal.requests().size(), 1);
            QCOMPARE(portal.requests()[0].body, FileBytes::read(fit));
            QCOMPARE(portal.requests()[0].headers.value("authorization"),
                     SporticsUploader::authorization(QStringLiteral("abc"), QStringLiteral("s3cret")));
        }
    }

    void plainHttpIsRefused()
    {
        LocalHttpsServer plain;
        QVERIFY(plain.start(LocalHttpsServer::Transport::Plain));
        QVERIFY(FileBytes::write(path(QStringLiteral("plain.fit")), QByteArray(8, '\x0e') + ".FIT" + QByteArray(8, '\0')));
        const VelotoolRun run = runServed({"upload", path(QStringLiteral("plain.fit")), "--user", "abc", "--server",
                                           plain.url().toString(), "--password-stdin"},
                                          "s3cret\n");
        QCOMPARE(run.exitCode, 2);
        QVERIFY(run.lastErrLine().startsWith(QStringLiteral("The server must be an https:// address")));
        QCOMPARE(plain.connectionCount(), 0);
    }
};

QTEST_GUILESS_MAIN(tst_VelotoolConvert)
#include "tst_velotoolconvert.moc"
