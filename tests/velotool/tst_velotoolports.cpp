// SPDX-License-Identifier: GPL-3.0-or-later
// --port auto and "ports --watch" over a made-up copy of a system's device files.

#include "VelotoolProcess.h"

#include "support/MadeUpSystem.h"

#include "linkhub/PortEventSource.h"
#include "tools/simulator/SimulatedBikeComputer.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <csignal>

namespace {
// Two looks of the slow poll that a copy of the files is watched with, and room to spare.
constexpr int watchWaitMs = int(PortEventSource::PollPeriod.count()) * 2 + 2000;
}

class VelotoolPortsTest : public QObject
{
    Q_OBJECT

private slots:
    void portAuto_data()
    {
        QTest::addColumn<int>("bridges");
        QTest::addColumn<int>("exitCode");
        QTest::newRow("none") << 0 << 8;
        QTest::newRow("one") << 1 << 0;
        QTest::newRow("two") << 2 << 2;
    }

    void portAuto()
    {
        QFETCH(int, bridges);
        QFETCH(int, exitCode);
        MadeUpSystem system;
        QVERIFY(system.isValid());
        // A bridge of another kind is never a candidate.
        QVERIFY(system.plug(QStringLiteral("1-1"), "1a86", "7523", QStringLiteral("ttyUSB9")));
        SimulatedBikeComputer device(0x21);
        QVERIFY(device.start());
        QVERIFY(QDir().mkpath(system.path() + QStringLiteral("/dev")));
        const QStringList ttys{QStringLiteral("ttyUSB0"), QStringLiteral("ttyUSB1")};
        for (int bridge = 0; bridge < bridges; ++bridge) {
            QVERIFY(system.plug(QStringLiteral("1-%1").arg(bridge + 2), bridge ? "10c4" : "0403", bridge ? "ea60" : "6001",
                                ttys.at(bridge)));
            QVERIFY(QFile::link(device.portName(), system.devicePath(ttys.at(bridge))));
        }

        const VelotoolRun run = VelotoolProcess::run(
            {QStringLiteral("read"), QStringLiteral("--port"), QStringLiteral("auto"), QStringLiteral("--system-root"),
             system.path()});
        QVERIFY(run.finished);
        QCOMPARE(run.exitCode, exitCode);
        if (bridges == 0) {
            QCOMPARE(run.lastErrLine(), QStringLiteral("--port auto: No serial port behind a supported USB bridge was "
                                                       "found. Check the cable and that the bridge's driver is loaded; "
                                                       "on Linux, also that your user belongs to the group that owns "
                                                       "the serial devices (usually \"dialout\")."));
        } else if (bridges == 1) {
            QVERIFY2(run.err.contains(QStringLiteral("Using %1, the only supported USB bridge plugged in")
                                          .arg(system.devicePath(ttys.at(0)))),
                     qPrintable(run.err));
            QVERIFY(run.out.contains(QStringLiteral("Lumo 20")));
        } else {
            QCOMPARE(run.lastErrLine(), QStringLiteral("--port auto: 2 supported USB bridges are plugged in (%1, %2); "
                                                       "name one with --port.")
                                            .arg(system.devicePath(ttys.at(0)), system.devicePath(ttys.at(1))));
        }
    }

    void watchListsAgainWhenABridgeComes()
    {
        MadeUpSystem system;
        QVERIFY(system.isValid());
        QVERIFY(system.plug(QStringLiteral("1-2"), "0403", "6001", QStringLiteral("ttyUSB0")));
        QProcess watch;
        VelotoolProcess::start(watch, {QStringLiteral("ports"), QStringLiteral("--watch"),
                                       QStringLiteral("--system-root"), system.path()});
        QVERIFY(watch.waitForStarted());
        const QString first = system.devicePath(QStringLiteral("ttyUSB0")) + QStringLiteral("  0403:6001\n");
        QString out;
        QTRY_VERIFY_WITH_TIMEOUT((out += QString::fromUtf8(watch.readAllStandardOutput())) == first, watchWaitMs);

        QVERIFY(system.plug(QStringLiteral("1-3"), "10c4", "ea60", QStringLiteral("ttyUSB1")));
        const QString second = first + QLatin1Char('\n') + first + system.devicePath(QStringLiteral("ttyUSB1"))
            + QStringLiteral("  10c4:ea60\n");
        QTRY_VERIFY_WITH_TIMEOUT((out += QString::fromUtf8(watch.readAllStandardOutput())) == second, watchWaitMs);

        ::kill(pid_t(watch.processId()), SIGINT);
        QVERIFY(watch.waitForFinished(watchWaitMs));
        QCOMPARE(watch.exitStatus(), QProcess::NormalExit);
        QCOMPARE(watch.exitCode(), 0);
    }
};

QTEST_GUILESS_MAIN(VelotoolPortsTest)
#include "tst_velotoolports.moc"
