// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinkRecorder.h"
#include "RecordComparison.h"
#include "SimulatedSession.h"

#include "linkhub/ComConnection.h"
#include "tools/simulator/SimulatedBikeComputer.h"

#include <QTest>

#include <chrono>
#include <thread>

using namespace std::chrono_literals;
using Report = LinkRecorder::Report;

namespace {

constexpr int Timeout = int(SessionTimeout.count());
// Longer than one poll period: had the link started reading or polling, it would show.
constexpr std::chrono::milliseconds GateWatch{1500};
// Poll requests watched after the read phase, and the spread accepted between two of them.
constexpr int PollsWatched = 3;
constexpr std::chrono::milliseconds PollIntervalLow{600};
constexpr std::chrono::milliseconds PollIntervalHigh{3000};

QList<int> codesOf(const QList<SimulatedBikeComputer::Request> &requests)
{
    QList<int> codes;
    for (const SimulatedBikeComputer::Request &request : requests)
        codes.append(request.code);
    return codes;
}

} // namespace

class tst_LinkSession : public QObject
{
    Q_OBJECT

private slots:
    void readsEveryModel_data()
    {
        QTest::addColumn<int>("modelId");
        QTest::addColumn<QList<int>>("requests"); // after the identification request
        QTest::addColumn<QList<int>>("updates"); // after IdentityUpdate

        QTest::newRow("Lumo 10") << 0x11 << QList<int>{0x41, 0x51, 0x61} << QList<int>{0x08, 0x10, 0x40};
        QTest::newRow("Lumo 20") << 0x21 << QList<int>{0x64, 0x41, 0x21, 0x53, 0x55, 0x61}
                                 << QList<int>{0x80, 0x08, 0x02, 0x10, 0x20, 0x40};
        QTest::newRow("Lumo 30") << 0x12 << QList<int>{0x41, 0x51, 0x61} << QList<int>{0x08, 0x10, 0x40};
        QTest::newRow("Lumo 40") << 0x22 << QList<int>{0x64, 0x41, 0x21, 0x31, 0x53, 0x55, 0x61}
                                 << QList<int>{0x80, 0x08, 0x02, 0x04, 0x10, 0x20, 0x40};
        QTest::newRow("Lumo 50") << 0x23 << QList<int>{0x64, 0x13, 0x21, 0x31, 0x41, 0x53, 0x55, 0x61}
                                 << QList<int>{0x80, 0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40};
        QTest::newRow("Lumo 60") << 0x51 << QList<int>{0x64, 0x13, 0x21, 0x31, 0x41, 0x53, 0x55, 0x61, 0x65}
                                 << QList<int>{0x80, 0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x100};
        // The short altitude, heart-rate and bike-settings answers are not decoded, so not announced.
        QTest::newRow("Lumo 70") << 0x61 << QList<int>{0x64, 0x13, 0x21, 0x31, 0x41, 0x53, 0x55, 0x61}
                                 << QList<int>{0x80, 0x02, 0x08, 0x40};
    }

    void readsEveryModel()
    {
        QFETCH(int, modelId);
        QFETCH(QList<int>, requests);
        QFETCH(QList<int>, updates);
        SimulatedBikeComputer device{quint8(modelId)};
        QVERIFY2(device.start(), qPrintable(device.errorString()));
        const DeviceModel *model = device.model();
        const bool gated = model->has(DeviceModel::FirmwareCheck);
        ComConnection connection;
        LinkRecorder recorder(connection);

        connection.open(device.portName());
        QTRY_VERIFY_WITH_TIMEOUT(recorder.hasState(Connected), Timeout);
        QCOMPARE(recorder.states,
                 (QList<Report>{{Opening, NoError}, {WaitingForAnswer, NoError}, {Connected, NoError}}));

        if (gated) {
            QTRY_VERIFY_WITH_TIMEOUT(recorder.hasUpdate(FirmwareVersionUpdate), Timeout);
            QCOMPARE(recorder.record->firmwareVersion, device.values().firmwareVersion);
            QTest::qWait(int(GateWatch.count()));
            QCOMPARE(codesOf(device.requests()), (QList<int>{0x12, 0x64}));
            QCOMPARE(recorder.updates, (QList<int>{IdentityUpdate, FirmwareVersionUpdate}));
            connection.approveFw();
        }

        // The read requests in catalogue order, then the clock poll about once a second.
        const int reads = 1 + requests.size();
        QTRY_VERIFY_WITH_TIMEOUT(device.requests().size() >= reads + PollsWatched, Timeout);
        const QList<SimulatedBikeComputer::Request> received = device.requests();
        QCOMPARE(codesOf(received.mid(0, reads)), QList<int>{0x12} + requests);
        QVERIFY(received.first().payload.isEmpty());
        QCOMPARE(device.rejectedFrameCount(), 0);
        QCOMPARE(device.ignoredByteCount(), 0);
        QCOMPARE(received.first().lineSpeed, 600);
        for (int i = 1; i < received.size(); ++i)
            QCOMPARE(received.at(i).lineSpeed, qint32(model->baudRate));
        for (int i = reads; i < received.size(); ++i) {
            QCOMPARE(int(received.at(i).code), int(ReadDateTime));
            if (i > reads) {
                const auto interval = received.at(i).receivedAt - received.at(i - 1).receivedAt;
                QVERIFY2(interval >= PollIntervalLow && interval <= PollIntervalHigh,
                         qPrintable(QStringLiteral("%1 ms between two polls")
                                        .arg(std::chrono::duration_cast<std::chrono::milliseconds>(interval).count())));
            }
        }

        // IdentityUpdate, then one update per block, then the clock again with every poll.
        const int announced = 1 + updates.size();
        QTRY_VERIFY_WITH_TIMEOUT(recorder.updates.size() > announced, Timeout);
        QCOMPARE(recorder.updates.mid(0, announced), QList<int>{IdentityUpdate} + updates);
        for (int i = announced; i < recorder.updates.size(); ++i)
            QCOMPARE(recorder.updates.at(i), int(DateTimeUpdate));
        QCOMPARE(recorder.record, connection.getData());

        recorder.clear();
        connection.close();
        QTRY_VERIFY_WITH_TIMEOUT(recorder.hasState(Closed), Timeout);
        QCOMPARE(recorder.states, (QList<Report>{{Closing, NoError}, {Closed, NoError}}));
        QVERIFY(codesOf(device.requests().mid(reads)).contains(CloseSession));

        // The session is over and the port closed: the record stays and holds the device's values.
        const ModelData *record = connection.getData();
        QVERIFY(record);
        QVERIFY(record->receivedAt.isValid());
        compareRecords(*record, expectedRecord(device.values()));
    }

    void politeClose()
    {
        SimulatedLink link(0x23);
        if (!link.start())
            return;
        auto &[device, connection, recorder] = link;

        recorder.clear();
        device.clearRequests();
        QTest::ignoreMessage(QtDebugMsg, "Sending close command");
        QTest::ignoreMessage(QtDebugMsg, "Session closed");
        QTest::ignoreMessage(QtDebugMsg, "hard closed");
        connection.close();
        QTRY_VERIFY_WITH_TIMEOUT(recorder.hasState(Closed), Timeout);
        QTest::qWait(300); // nothing more follows
        QCOMPARE(recorder.states, (QList<Report>{{Closing, NoError}, {Closed, NoError}}));
        QCOMPARE(connection.getConnectionState(), Closed);
        QVERIFY(codesOf(device.requests()).contains(CloseSession));
        QCOMPARE(device.deviceSpeed(), 600);
        // The link let go of the port: the line is back at the speed nobody talks at.
        QTRY_COMPARE_WITH_TIMEOUT(device.lineSpeed(), 38400, Timeout);
    }

    void closeOfNeverOpenedLink()
    {
        ComConnection connection;
        LinkRecorder recorder(connection);
        QTest::ignoreMessage(QtDebugMsg, "hard closed");
        connection.close();
        QTRY_VERIFY_WITH_TIMEOUT(recorder.hasState(Closed), Timeout);
        QCOMPARE(recorder.states, (QList<Report>{{Closing, NoError}, {Closed, NoError}}));
        QCOMPARE(connection.getConnectionState(), Closed);
        QVERIFY(!connection.getData());
    }

    void openWhileConnectedStartsOver()
    {
        SimulatedLink link(0x21);
        if (!link.start())
            return;
        auto &[device, connection, recorder] = link;
        ModelData *first = connection.getData();

        recorder.clear();
        device.clearRequests();
        connection.open(device.portName());
        QTRY_VERIFY_WITH_TIMEOUT(recorder.hasUpdate(FirmwareVersionUpdate), Timeout);
        QCOMPARE(recorder.states,
                 (QList<Report>{{Opening, NoError}, {WaitingForAnswer, NoError}, {Connected, NoError}}));
        const QList<SimulatedBikeComputer::Request> received = device.requests();
        QVERIFY(!codesOf(received).contains(CloseSession));
        const int identification = int(codesOf(received).indexOf(ReadDeviceId));
        QVERIFY(identification >= 0);
        QCOMPARE(received.at(identification).lineSpeed, 600);
        QVERIFY(recorder.record != first); // a fresh record for the new identification
    }

    void closeThenImmediateReopen_data()
    {
        QTest::addColumn<bool>("confirmedFirst");
        QTest::newRow("before the device saw the close") << false;
        // The confirmation has arrived but the user-interface thread was busy and has not taken it.
        QTest::newRow("after the device confirmed it") << true;
    }

    void closeThenImmediateReopen()
    {
        QFETCH(bool, confirmedFirst);
        SimulatedLink link(0x23);
        if (!link.start())
            return;
        auto &[device, connection, recorder] = link;

        recorder.clear();
        const int answered = device.answerCount();
        connection.close();
        if (confirmedFirst) {
            const auto giveUp = std::chrono::steady_clock::now() + SessionTimeout;
            while (!(device.requestCodes().contains(CloseSession) && device.answerCount() > answered)
                   && std::chrono::steady_clock::now() < giveUp)
                std::this_thread::sleep_for(5ms);
            QVERIFY(device.requestCodes().contains(CloseSession));
            std::this_thread::sleep_for(300ms); // the answer is on its way to the link, events wait
        }
        connection.open(device.portName());
        QTRY_VERIFY_WITH_TIMEOUT(recorder.hasUpdate(FirmwareVersionUpdate), Timeout);
        connection.approveFw();
        QTRY_VERIFY_WITH_TIMEOUT(recorder.hasUpdate(BikeAuxUpdate), Timeout);

        // Whatever the first session left behind must not end the second one.
        QTest::qWait(int((ComConnection::DefaultAnswerTimeout * ComConnection::TransmissionAttempts + 1s).count()));
        QCOMPARE(connection.getConnectionState(), Connected);
        QCOMPARE(recorder.states.first(), (Report{Closing, NoError}));
        QVERIFY(!recorder.hasState(Closed));
        QVERIFY(!recorder.hasState(Closed, ConnectionLost));
        QCOMPARE(recorder.states.last(), (Report{Connected, NoError}));
        QVERIFY(recorder.updates.count(DateTimeUpdate) >= 3); // still polling
    }
};

QTEST_GUILESS_MAIN(tst_LinkSession)
#include "tst_linksession.moc"
