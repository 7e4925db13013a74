// SPDX-License-Identifier: GPL-3.0-or-later
#include "VelotoolProcess.h"

#include <QProcess>
#include <QTest>

// The velotool tests read what velotool itself wrote on standard error, whatever a sanitizer
// appends to it when the process leaves.
class VelotoolProcessTest : public QObject
{
    Q_OBJECT

private slots:
    void productTextWithoutSanitizerStatistics_data()
    {
        QTest::addColumn<QString>("written");
        QTest::addColumn<QString>("err");
        QTest::addColumn<QString>("statistics");

        const QString message = QStringLiteral("The portal answered 200 where 201 means accepted.\n");
        const QString table = QStringLiteral("-----------------------------------------------------\n"
                                             "Suppressions used:\n"
                                             "  count      bytes template\n"
                                             "     57      10240 libcrypto.so\n"
                                             "-----------------------------------------------------\n"
                                             "\n");
        QTest::newRow("message alone") << message << message << QString();
        QTest::newRow("suppression table after the message") << message + table << message << table;
        QTest::newRow("suppression table alone") << table << QString() << table;
    }

    void productTextWithoutSanitizerStatistics()
    {
        QFETCH(QString, written);
        QFETCH(QString, err);
        QFETCH(QString, statistics);

        QProcess child;
        child.start(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QStringLiteral("printf '%s' \"$0\" >&2; exit 12"), written});
        const bool finished = child.waitForFinished();
        const VelotoolRun run = VelotoolProcess::collect(child, finished);

        QVERIFY(run.finished);
        QCOMPARE(run.exitCode, 12);
        QCOMPARE(run.err, err);
        QCOMPARE(run.lastErrLine(), err.trimmed());
        QCOMPARE(run.sanitizerStatistics, statistics);
    }
};

QTEST_GUILESS_MAIN(VelotoolProcessTest)
#include "tst_velotoolprocess.moc"
