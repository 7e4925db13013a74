// SPDX-License-Identifier: GPL-3.0-or-later
#include "RawLine.h"

#include "linkhub/ComConnection.h"

#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QSignalSpy>
#include <QTest>

#include <condition_variable>
#include <mutex>

namespace {

/// Holds the send thread where the transfer log reports an unanswered attempt, that is between
/// two attempts of the same packet, until release(). Other messages pass on unchanged.
class ResendGate
{
public:
    ResendGate()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("linkhub.wire.debug=true"));
        gate = this;
        previous = qInstallMessageHandler(handle);
    }
    ~ResendGate()
    {
        release();
        qInstallMessageHandler(previous);
        gate = nullptr;
        QLoggingCategory::setFilterRules(QString());
    }

    bool waitUntilHeld()
    {
        std::unique_lock<std::mutex> guard(lock);
        return changed.wait_for(guard, std::chrono::seconds(10), [this] { return held; });
    }
    void release()
    {
        {
            std::lock_guard<std::mutex> guard(lock);
            released = true;
        }
        changed.notify_all();
    }

private:
    static void handle(QtMsgType type, const QMessageLogContext &context, const QString &message)
    {
        if (qstrcmp(context.category, "linkhub.wire") == 0 && message.contains(QLatin1String(" no answer ")))
            gate->hold();
        gate->previous(type, context, message);
    }
    void hold()
    {
        std::unique_lock<std::mutex> guard(lock);
        held = true;
        changed.notify_all();
        changed.wait(guard, [this] { return released; });
    }

    static inline ResendGate *gate = nullptr;
    QtMessageHandler previous = nullptr;
    std::mutex lock;
    std::condition_variable changed;
    bool held = false;
    bool released = false;
};

} // namespace

// What the link puts on the wire, read raw from the device side of a pseudo-terminal.
class tst_PacketWire : public QObject
{
    Q_OBJECT

private slots:
    void requestWithoutPayload()
    {
        ComConnection connection;
        PseudoTerminal line;
        QVERIFY(openQuietSession(connection, line));
        QCOMPARE(line.lineSpeed(), 600);
        connection.sendCommand(ReadDateTime);
        QCOMPARE(readFromLink(line, 5).toHex(' '), QByteArray("ff 55 41 00 41"));
    }

    void requestIsSentThreeTimesThenTheLinkIsLost()
    {
        ComConnection connection;
        connection.setAnswerTimeout(std::chrono::milliseconds(200));
        PseudoTerminal line;
        QVERIFY(openQuietSession(connection, line));
        QSignalSpy states(&connection, &ComConnection::connectionStateChanged);
        QTest::ignoreMessage(QtCriticalMsg, "Timeout");
        connection.sendCommand(ReadDeviceId);
        QTRY_COMPARE_WITH_TIMEOUT(connection.getConnectionState(), Closed, 10000);
        QCOMPARE(line.readAvailable().toHex(' '), QByteArray("ff 55 12 00 12 ff 55 12 00 12 ff 55 12 00 12"));
        QCOMPARE(states.count(), 2);
        QCOMPARE(states.at(0).at(0).value<ConnectionState>(), Closing);
        QCOMPARE(states.at(0).at(1).value<ErrorMessage>(), ConnectionLost);
        QCOMPARE(states.at(1).at(0).value<ConnectionState>(), Closed);
        QCOMPARE(states.at(1).at(1).value<ErrorMessage>(), ConnectionLost);
    }

    void firstFirmwareBlockHasTwoLengthBytes()
    {
        ComConnection connection;
        PseudoTerminal line;
        QVERIFY(openQuietSession(connection, line));
        QByteArray payload(1, char(0)); // block index 0
        for (int i = 0; i < 2048; ++i)
            payload.append(char(i * 7 + 3));
        unsigned char checksum = 0x75 + 0x01 + 0x08;
        for (char byte : payload)
            checksum += static_cast<unsigned char>(byte);

        QElapsedTimer clock;
        clock.start();
        connection.sendCommand(FirmwareBlock, &payload);
        const QByteArray wire = readFromLink(line, 2 + 3 + 2049 + 1);
        QVERIFY2(clock.elapsed() >= 1100, "the first block waits for the boot loader");
        QCOMPARE(wire.size(), 2055);
        QCOMPARE(wire.left(6).toHex(' '), QByteArray("ff 55 75 01 08 00"));
        QCOMPARE(wire.mid(5, 2049), payload);
        QCOMPARE(static_cast<unsigned char>(wire.back()), checksum);
    }

    void packetOfAnEndedSessionStaysOffTheNewPort()
    {
        ResendGate gate; // outlives the link's threads
        ComConnection connection;
        connection.setAnswerTimeout(std::chrono::milliseconds(200));
        PseudoTerminal first;
        PseudoTerminal second;
        QVERIFY(second.open());
        QVERIFY(openQuietSession(connection, first));
        connection.sendCommand(ReadDateTime);
        QVERIFY(gate.waitUntilHeld()); // the first attempt went unanswered, the next is due

        connection.setAnswerTimeout(ComConnection::DefaultAnswerTimeout);
        connection.open(second.portName(), true);
        gate.release();
        connection.sendCommand(ReadDeviceId);
        // The send thread takes the new session's request only once done with the old one.
        QCOMPARE(readFromLink(second, 5).toHex(' '), QByteArray("ff 55 12 00 12"));
        QCOMPARE(first.readAvailable().toHex(' '), QByteArray("ff 55 41 00 41"));
    }
};

QTEST_GUILESS_MAIN(tst_PacketWire)
#include "tst_packetwire.moc"
