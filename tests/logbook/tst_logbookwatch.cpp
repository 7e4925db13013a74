// SPDX-License-Identifier: GPL-3.0-or-later
#include "CsvLogText.h"
#include "support/FileBytes.h"
#include "velotool/VelotoolProcess.h"

#include "logbook/BikeRegister.h"
#include "logbook/CsvLogImporter.h"
#include "logbook/Logbook.h"
#include "logbook/LogbookWatch.h"

#include <QBuffer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

// Well past the watch's fallback, so that a missed file event still shows as a late signal, not a failure.
constexpr std::chrono::milliseconds SignalWait{10000};

} // namespace

class tst_LogbookWatch : public QObject
{
    Q_OBJECT

private slots:
    void noticesRidesRecordedElsewhere_data()
    {
        QTest::addColumn<bool>("otherProcess");
        QTest::newRow("another connection of this program") << false;
        QTest::newRow("another program") << true;
    }

    void noticesRidesRecordedElsewhere()
    {
        QFETCH(bool, otherProcess);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("logbook.sqlite"));
        Logbook logbook(path);
        QVERIFY(!logbook.open());
        LogbookWatch watch(logbook);
        QSignalSpy changed(&watch, &LogbookWatch::changed);

        if (otherProcess) {
            const QString log = folder.filePath(QStringLiteral("rides.csv"));
            QVERIFY(FileBytes::write(log, csvLogText(2)));
            const VelotoolRun run = VelotoolProcess::run({"logbook", "import", "--logbook", path, log});
            QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        } else {
            Logbook other(path);
            QVERIFY(!other.open());
            QBuffer log;
            log.setData(csvLogText(2));
            QVERIFY(log.open(QIODevice::ReadOnly));
            ImportOutcome outcome;
            QVERIFY(!CsvLogImporter(other, 1, QString()).import(log, outcome));
            QCOMPARE(outcome.imported, 2);
        }
        QVERIFY(changed.wait(int(SignalWait.count())));
        QCOMPARE(changed.count(), 1);
    }

    void acknowledgedChangeIsNotToldAgain()
    {
        QTemporaryDir folder;
        Logbook logbook(folder.filePath(QStringLiteral("logbook.sqlite")));
        QVERIFY(!logbook.open());
        LogbookWatch watch(logbook);
        QSignalSpy changed(&watch, &LogbookWatch::changed);
        // The window's own change: a bike named where the watch's logbook is open.
        const auto name = [&](const QString &text) {
            return !BikeRegister(logbook).rename(QStringLiteral("Lumo 60"), 1, text);
        };
        QVERIFY(name(QStringLiteral("Road bike")));
        watch.acknowledge();
        QVERIFY(!changed.wait(int((LogbookWatch::Settle * 3).count())));
        QVERIFY(name(QStringLiteral("Gravel bike")));
        QVERIFY(changed.wait(int(SignalWait.count())));
    }
};

QTEST_GUILESS_MAIN(tst_LogbookWatch)
#include "tst_logbookwatch.moc"
