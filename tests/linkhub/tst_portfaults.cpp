// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinkRecorder.h"
#include "SimulatedSession.h"

#include "linkhub/ComConnection.h"
#include "linkhub/QextSerialPort.h"
#include "tools/simulator/PseudoTerminal.h"
#include "tools/simulator/SimulatedBikeComputer.h"

#include <QElapsedTimer>
#include <QTest>

#include <atomic>
#include <cstddef>
#include <chrono>
#include <ctime>
#include <malloc.h>
#include <memory>
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
// From the sanitizers' allocator interface (GCC ships no header for it).
extern "C" std::size_t __sanitizer_get_current_allocated_bytes();
#endif

using namespace std::chrono_literals;
using Report = LinkRecorder::Report;

namespace {

constexpr int Timeout = int(SessionTimeout.count());
// A pseudo-terminal carries a flood of 256 MiB in seconds, but a busy machine running the link
// under a sanitizer may need most of a minute for it.
constexpr std::chrono::milliseconds FloodTimeout = 3min;
constexpr char Overflow[] = "Receive buffer full: the device sends faster than it is read, bytes dropped";

std::chrono::nanoseconds processCpuTime()
{
    timespec now{};
    ::clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

/// Bytes of heap in use; a sanitizer's own count, where one runs, leaves out its quarantine.
qint64 heapInUse()
{
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
    return qint64(__sanitizer_get_current_allocated_bytes());
#else
    const struct mallinfo2 heap = ::mallinfo2();
    return qint64(heap.uordblks + heap.hblkhd);
#endif
}

/// Keeps a flood's one-per-byte framing complaints (and the overflow line) out of the test log
/// and counts the overflow lines.
class FloodMessages
{
public:
    FloodMessages()
    {
        // Known before the link's threads can reach handle().
        previous = qInstallMessageHandler(nullptr);
        qInstallMessageHandler(&FloodMessages::handle);
    }
    ~FloodMessages() { qInstallMessageHandler(previous.load()); }
    static inline std::atomic<int> overflows{0};

private:
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        if (message == QLatin1String(Overflow))
            ++overflows;
        else if (message != QLatin1String("Wrong start byte."))
            previous.load()(type, context, message);
    }
    // Read by the link's threads, which write diagnostics while the handler is installed.
    static inline std::atomic<QtMessageHandler> previous{nullptr};
};

} // namespace

// The link against a line that misbehaves below the protocol: a full output buffer, a bridge
// that disappears, a device that floods the line.
class tst_PortFaults : public QObject
{
    Q_OBJECT

private slots:
    void fullOutputBufferWaitsForRoom()
    {
        PseudoTerminal line;
        QVERIFY(line.open());
        QextSerialPort port;
        port.setPortName(line.portName());
        QVERIFY(port.open());
        // The device reads nothing yet: the system's buffer fills long before the last write.
        QByteArray sent;
        for (int block = 0; block < 64; ++block) {
            const QByteArray bytes(4096, char('A' + block % 26));
            port.write(bytes);
            port.flush();
            sent += bytes;
        }
        QByteArray arrived;
        QElapsedTimer clock;
        clock.start();
        while (arrived.size() < sent.size() && clock.elapsed() < Timeout) {
            arrived += line.readAvailable();
            QTest::qWait(5);
        }
        QCOMPARE(arrived.size(), sent.size());
        QVERIFY(arrived == sent);
        QVERIFY(port.isOpen());
    }

    void hangUpIsReportedAtOnceAndCostsNoCpu()
    {
        SimulatedLink link(0x21);
        if (!link.start())
            return;
        auto &[device, connection, recorder] = link;
        // Silence alone would take minutes to notice now: only the hang-up can end the session.
        connection.setAnswerTimeout(10min);
        recorder.clear();

        const auto cpuBefore = processCpuTime();
        QElapsedTimer wall;
        wall.start();
        device.unplug();
        QTRY_VERIFY_WITH_TIMEOUT(recorder.hasState(Closed, ConnectionLost), Timeout);
        QTest::qWait(1000);
        QCOMPARE(recorder.states, (QList<Report>{{Closing, ConnectionLost}, {Closed, ConnectionLost}}));
        const auto cpu = std::chrono::duration_cast<std::chrono::milliseconds>(processCpuTime() - cpuBefore);
        QVERIFY2(cpu.count() < wall.elapsed() / 4,
                 qPrintable(QStringLiteral("%1 ms of CPU in %2 ms").arg(cpu.count()).arg(wall.elapsed())));
    }

    void floodAfterUnknownIdKeepsMemoryFlat()
    {
        SimulatedBikeComputer device(0x22);
        QVERIFY(device.start());
        device.setFault(FaultMode::UnknownId);
        ComConnection connection;
        LinkRecorder recorder(connection);
        connection.open(device.portName());
        QTRY_VERIFY_WITH_TIMEOUT(recorder.hasState(Closed, UnknownDeviceType), Timeout);

        // The port stays open and nothing reads it while the device floods the line.
        FloodMessages messages;
        FloodMessages::overflows = 0;
        const qint64 heapBefore = heapInUse();
        device.setFault(FaultMode::BabblingLine);
        constexpr qint64 Flood = 64 << 20;
        QTRY_VERIFY_WITH_TIMEOUT(device.babbledByteCount() >= Flood, Timeout);
        const qint64 grown = heapInUse() - heapBefore;
        QVERIFY2(grown < Flood / 4, qPrintable(QStringLiteral("grew by %1 bytes").arg(grown)));
        QCOMPARE(FloodMessages::overflows.load(), 1);
        QCOMPARE(recorder.states.last(), (Report{Closed, UnknownDeviceType}));
    }

    void floodDoesNotHoldUpTheEnd()
    {
        SimulatedBikeComputer device(0x51);
        QVERIFY(device.start());
        auto connection = std::make_unique<ComConnection>();
        LinkRecorder recorder(*connection);
        if (!bringUp(*connection, recorder, device))
            return;

        connection->setAnswerTimeout(10min); // the flood, not a lost link, is what the end meets
        FloodMessages messages;
        device.setFault(FaultMode::BabblingLine);
        // Long enough for a reader that takes all it finds to fall hopelessly behind.
        QTRY_VERIFY_WITH_TIMEOUT(device.babbledByteCount() >= (256 << 20), int(FloodTimeout.count()));
        QTest::qWait(1000);
        QElapsedTimer clock;
        clock.start();
        connection.reset();
        QVERIFY2(clock.elapsed() < 10000, qPrintable(QStringLiteral("%1 ms to stop").arg(clock.elapsed())));
    }
};

QTEST_GUILESS_MAIN(tst_PortFaults)
#include "tst_portfaults.moc"
