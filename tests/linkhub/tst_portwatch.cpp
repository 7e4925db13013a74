// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/MadeUpSystem.h"

#include "linkhub/ComConnection.h"
#include "linkhub/PortWatch.h"
#include "linkhub/SystemFiles.h"

#include <QElapsedTimer>
#include <QSignalSpy>
#include <QTest>

#include <chrono>
#include <ctime>
#include <memory>

namespace {
constexpr int settledMs = int(PortWatch::SettleTime.count()) * 2;

std::chrono::nanoseconds processCpuTime()
{
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

/// Announces a change when the test says so, as the device manager does when a device comes or goes.
class AnnouncingSource : public PortEventSource
{
public:
    void announce() { emit devicesChanged(); }
};

/// "1-2 10c4 ea60 ttyUSB1" plugs a device in, "-1-2 ttyUSB1" pulls it out.
bool apply(MadeUpSystem &system, const QString &change)
{
    const QStringList parts = change.split(QLatin1Char(' '));
    if (change.startsWith(QLatin1Char('-')))
        return system.pull(parts.at(0).mid(1), parts.at(1));
    return system.plug(parts.at(0), parts.at(1).toLatin1(), parts.at(2).toLatin1(), parts.value(3));
}
}

class tst_PortWatch : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<MadeUpSystem> system;

private slots:
    void init()
    {
        system = std::make_unique<MadeUpSystem>();
        QVERIFY(system->isValid());
        SystemFiles::setCurrent(SystemFiles(system->path()));
    }

    void cleanup() { SystemFiles::setCurrent(SystemFiles()); }

    void followsTheCable_data()
    {
        QTest::addColumn<QStringList>("before");
        QTest::addColumn<QStringList>("changes");
        QTest::addColumn<QStringList>("listed");
        QTest::addColumn<int>("reports");

        const QString ftdi = QStringLiteral("1-1 0403 6001 ttyUSB0");
        const QString cp210x = QStringLiteral("1-2 10c4 ea60 ttyUSB1");
        QTest::newRow("a bridge appears") << QStringList() << QStringList{ftdi} << QStringList{"ttyUSB0"} << 1;
        QTest::newRow("a bridge disappears") << QStringList{ftdi, cp210x} << QStringList{"-1-1 ttyUSB0"}
                                             << QStringList{"ttyUSB1"} << 1;
        QTest::newRow("two appear in one burst")
            << QStringList() << QStringList{ftdi, cp210x} << QStringList{"ttyUSB0", "ttyUSB1"} << 1;
        QTest::newRow("another kind of device") << QStringList() << QStringList{"1-3 2341 0043 ttyACM0"}
                                                << QStringList() << 0;
        QTest::newRow("a bridge without a port") << QStringList() << QStringList{"1-4 10c4 ea60"} << QStringList() << 1;
    }

    void followsTheCable()
    {
        QFETCH(QStringList, before);
        QFETCH(QStringList, changes);
        QFETCH(QStringList, listed);
        QFETCH(int, reports);
        for (const QString &change : before)
            QVERIFY(apply(*system, change));
        auto source = std::make_unique<AnnouncingSource>();
        AnnouncingSource *announcer = source.get();
        PortWatch watch(ComConnection::getSupportedComs(), std::move(source));
        QSignalSpy changed(&watch, &PortWatch::portsChanged);

        for (const QString &change : changes) {
            QVERIFY(apply(*system, change));
            announcer->announce();
        }
        QTest::qWait(settledMs);
        QCOMPARE(changed.size(), reports);
        QStringList names;
        for (const QextPortInfo &port : ComConnection::getSupportedComs())
            names.append(port.portName);
        for (QString &name : listed)
            name = system->devicePath(name);
        QCOMPARE(names, listed);

        // Nothing more changes: another announcement is not reported.
        announcer->announce();
        QTest::qWait(settledMs);
        QCOMPARE(changed.size(), reports);
    }

    void idleWatchCostsNoCpu()
    {
        SystemFiles::setCurrent(SystemFiles());
        std::unique_ptr<PortEventSource> source = PortEventSource::createDeviceManagerSource();
        QVERIFY(source);
        PortWatch watch(ComConnection::getSupportedComs(), std::move(source));
        const auto cpuBefore = processCpuTime();
        QElapsedTimer wall;
        wall.start();
        QTest::qWait(1000);
        const auto cpu = std::chrono::duration_cast<std::chrono::milliseconds>(processCpuTime() - cpuBefore);
        QVERIFY2(cpu.count() < wall.elapsed() / 4,
                 qPrintable(QStringLiteral("%1 ms of CPU in %2 ms").arg(cpu.count()).arg(wall.elapsed())));
    }
};

QTEST_GUILESS_MAIN(tst_PortWatch)
#include "tst_portwatch.moc"
