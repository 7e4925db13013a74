// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinkRecorder.h"
#include "RecordComparison.h"
#include "SimulatedSession.h"

#include "linkhub/ComConnection.h"
#include "tools/simulator/SimulatedBikeComputer.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <chrono>

using namespace std::chrono_literals;
using Report = LinkRecorder::Report;

namespace {

constexpr int Timeout = int(SessionTimeout.count());
// Long enough for a further report to show if one were coming.
constexpr int QuietWatch = 700;

QList<int> codesOf(const SimulatedBikeComputer &device)
{
    QList<int> codes;
    for (quint8 code : device.requestCodes())
        codes.append(code);
    return codes;
}

void waitForFirmwareCheck(LinkRecorder &recorder)
{
    QTRY_VERIFY_WITH_TIMEOUT(recorder.hasUpdate(FirmwareVersionUpdate), Timeout);
}

/// Opens the link and waits for the firmware check of a model that asks for it; false (with the
/// test failed) when it does not come.
[[nodiscard]] bool openToFirmwareCheck(ComConnection &connection, LinkRecorder &recorder, const SimulatedBikeComputer &device)
{
    connection.open(device.portName());
    waitForFirmwareCheck(recorder);
    return !QTest::currentTestFailed();
}

QString illegalSize(const char *code, int size, int expected)
{
    return QStringLiteral("Illegal command ( \"%1\" ) size:  %2  should be:  %3")
        .arg(QLatin1String(code))
        .arg(size)
        .arg(expected);
}

} // namespace

class tst_LinkFaults : public QObject
{
    Q_OBJECT

private slots:
    void silentDeviceIsLost()
    {
        SimulatedBikeComputer device(0x23);
        QVERIFY(device.start());
        device.setFault(FaultMode::Silent);
        ComConnection connection;
        connection.setAnswerTimeout(ShortAnswerTimeout);
        LinkRecorder recorder(connection);
        QTest::ignoreMessage(QtCriticalMsg, "Timeout");
        connection.open(device.portName());
        QTRY_VERIFY_WITH_TIMEOUT(recorder.hasState(Closed, ConnectionLost), Timeout);
        QTest::qWait(QuietWatch);
        QCOMPARE(recorder.states, (QList<Report>{{Opening, NoError},
                                                 {WaitingForAnswer, NoError},
                                                 {Closing, ConnectionLost},
                                                 {Closed, ConnectionLost}}));
        QCOMPARE(codesOf(device), (QList<int>{0x12, 0x12, 0x12}));
        for (const SimulatedBikeComputer::Request &request : device.requests())
            QCOMPARE(request.lineSpeed, 600);
        QVERIFY(recorder.updates.isEmpty());
    }

    void lossMidSessionThenReopen()
    {
        SimulatedLink link(0x21);
        if (!link.start())
            return;
        auto &[device, connection, recorder] = link;

        // The device falls silent: the next clock poll goes unanswered three times.
        recorder.clear();
        connection.setAnswerTimeout(ShortAnswerTimeout);
        device.setFault(FaultMode::Silent);
        QTest::ignoreMessage(QtCriticalMsg, "Timeout");
        QTRY_VERIFY_WITH_TIMEOUT(recorder.hasState(Closed, ConnectionLost), Timeout);
        QCOMPARE(recorder.states, (QList<Report>{{Closing, ConnectionLost}, {Closed, ConnectionLost}}));
        const QList<int> codes = codesOf(device);
        QCOMPARE(codes.mid(codes.size() - 3), (QList<int>{0x41, 0x41, 0x41}));

        // It speaks again, and a new session reads it from the start.
        device.setFault(FaultMode::None);
        connection.setAnswerTimeout(ComConnection::DefaultAnswerTimeout);
        recorder.clear();
        device.clearRequests();
        if (!bringUp(connection, recorder, device))
            return;
        QCOMPARE(recorder.states.mid(0, 3),
                 (QList<Report>{{Opening, NoError}, {WaitingForAnswer, NoError}, {Connected, NoError}}));
        QCOMPARE(codesOf(device).mid(0, 3), (QList<int>{0x12, 0x64, 0x41}));
        QCOMPARE(device.requests().first().lineSpeed, 600);
        QCOMPARE(connection.getConnectionState(), Connected);

        connection.close();
        QTRY_VERIFY_WITH_TIMEOUT(recorder.hasState(Closed), Timeout);
        compareRecords(*connection.getData(), expectedRecord(device.values()));
    }

    void unknownIdLeavesThePortOpen()
    {
        SimulatedBikeComputer device(0x22);
        QVERIFY(device.start());
        device.setFault(FaultMode::UnknownId);
        ComConnection connection;
        LinkRecorder recorder(connection);
        connection.open(device.portName());
        QTRY_VERIFY_WITH_TIMEOUT(recorder.hasState(Closed, UnknownDeviceType), Timeout);
        QTest::qWait(QuietWatch);
        QCOMPARE(recorder.states, (QList<Report>{{Opening, NoError},
                                                 {WaitingForAnswer, NoError},
                                                 {Closed, UnknownDeviceType}}));
        QVERIFY(recorder.updates.isEmpty());
        QVERIFY(!connection.getDeviceModel());
        QVERIFY(!connection.getData());
        QCOMPARE(codesOf(device), QList<int>{0x12});
        QCOMPARE(device.lineSpeed(), 600); // still held open at the identification speed

        recorder.clear();
        connection.close();
        QTRY_VERIFY_WITH_TIMEOUT(recorder.hasState(Closed), Timeout);
        QCOMPARE(recorder.states, (QList<Report>{{Closing, NoError}, {Closed, NoError}}));
        QTRY_COMPARE_WITH_TIMEOUT(device.lineSpeed(), 38400, Timeout); // and now let go
    }

    void missingPortFailsToOpen()
    {
        QTemporaryDir nowhere;
        QVERIFY(nowhere.isValid());
        ComConnection connection;
        LinkRecorder recorder(connection);
        connection.open(nowhere.filePath(QStringLiteral("ttyUSB-gone")));
        QTRY_VERIFY_WITH_TIMEOUT(recorder.hasState(Error, FailedToOpen), Timeout);
        QTest::qWait(QuietWatch);
        QCOMPARE(recorder.states, (QList<Report>{{Opening, NoError}, {Error, FailedToOpen}}));
        QCOMPARE(connection.getConnectionState(), Error);

        // A later open starts over.
        SimulatedBikeComputer device(0x11);
        QVERIFY(device.start());
        recorder.clear();
        if (!bringUp(connection, recorder, device))
            return;
        QCOMPARE(codesOf(device).mid(0, 4), (QList<int>{0x12, 0x41, 0x51, 0x61}));
    }

    void unplugMidSession_data()
    {
        QTest::addColumn<bool>("byFault");
        QTest::addColumn<QList<int>>("updates");
        QTest::newRow("pulled after the read phase") << false
                                                     << QList<int>{0x00, 0x80, 0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40};
        QTest::newRow("pulled after three answers of the read phase") << true
                                                                       << QList<int>{0x00, 0x80, 0x01, 0x02, 0x04};
    }

    void unplugMidSession()
    {
        QFETCH(bool, byFault);
        QFETCH(QList<int>, updates);
        SimulatedBikeComputer device(0x23);
        QVERIFY(device.start());
        ComConnection connection;
        LinkRecorder recorder(connection);
        if (!openToFirmwareCheck(connection, recorder, device))
            return;
        connection.setAnswerTimeout(ShortAnswerTimeout);
        if (byFault)
            device.setFault(FaultMode::UnplugAfter, 3);
        connection.approveFw();
        if (!byFault) {
            QTRY_VERIFY_WITH_TIMEOUT(recorder.updates.size() >= updates.size(), Timeout);
            device.unplug();
        }
        // The hang-up itself ends the session: no request has to time out first.
        QTRY_VERIFY_WITH_TIMEOUT(recorder.hasState(Closed, ConnectionLost), Timeout);
        QVERIFY(!device.isPlugged());
        QCOMPARE(recorder.states.mid(recorder.states.size() - 2),
                 (QList<Report>{{Closing, ConnectionLost}, {Closed, ConnectionLost}}));
        QCOMPARE(recorder.updates.mid(0, updates.size()), updates);
        for (int i = updates.size(); i < recorder.updates.size(); ++i)
            QCOMPARE(recorder.updates.at(i), int(DateTimeUpdate));
        if (byFault)
            QCOMPARE(recorder.updates.size(), updates.size());
    }

    void lengthComplaints_data()
    {
        QTest::addColumn<int>("modelId");
        QTest::addColumn<QStringList>("complaints");
        QTest::newRow("Lumo 20") << 0x21
                                 << QStringList{illegalSize("c1", 6, 7), illegalSize("a1", 0, 1),
                                                illegalSize("d3", 24, 25), illegalSize("d5", 24, 25),
                                                illegalSize("e1", 4, 5)};
        QTest::newRow("Lumo 50") << 0x23
                                 << QStringList{illegalSize("93", 52, 53), illegalSize("a1", 0, 1),
                                                illegalSize("b1", 22, 23), illegalSize("c1", 6, 7),
                                                illegalSize("d3", 24, 25), illegalSize("d5", 24, 25),
                                                illegalSize("e1", 4, 5)};
        // The option byte arrives empty: neither the model's 0xEx length nor its fixed length.
        QTest::newRow("Lumo 60") << 0x51
                                 << QStringList{illegalSize("93", 52, 53), illegalSize("a1", 0, 1),
                                                illegalSize("b1", 22, 23), illegalSize("c1", 6, 7),
                                                illegalSize("d3", 25, 26), illegalSize("d5", 25, 26),
                                                illegalSize("e1", 4, 5), illegalSize("e5", 0, 5)};
    }

    void lengthComplaints()
    {
        QFETCH(int, modelId);
        QFETCH(QStringList, complaints);
        SimulatedBikeComputer device{quint8(modelId)};
        QVERIFY(device.start());
        ComConnection connection;
        LinkRecorder recorder(connection);
        if (!openToFirmwareCheck(connection, recorder, device))
            return;

        device.setFault(FaultMode::WrongLength);
        for (const QString &complaint : complaints)
            QTest::ignoreMessage(QtCriticalMsg, qPrintable(complaint));
        connection.approveFw();
        // Every answer was dropped, yet each counted as the answer: no request was sent twice,
        // and the clock poll followed the read phase.
        const int reads = 2 + device.model()->requestCommands.size();
        QTRY_VERIFY_WITH_TIMEOUT(device.requests().size() > reads, Timeout);
        QTest::qWait(QuietWatch);
        QCOMPARE(codesOf(device).mid(2, reads - 2), QList<int>(device.model()->requestCommands));
        QCOMPARE(recorder.updates, (QList<int>{IdentityUpdate, FirmwareVersionUpdate}));
        QCOMPARE(connection.getConnectionState(), Connected);

        const ModelData *record = connection.getData();
        QCOMPARE(record->dailyAltGain, 0u);
        QCOMPARE(record->currentBike, 0);
        QCOMPARE(record->dailyCalories, 0u);
        QCOMPARE(record->month, 0);
        QCOMPARE(record->bikes[0].totalDistance, 0u);
        QCOMPARE(record->bikes[1].dailyDistance, 0u);
        QCOMPARE(record->bikes[0].bikeAuxWord, 0);
        QCOMPARE(record->modelOption, 0);
    }

    void noiseBeforeAnswersIsSkipped()
    {
        SimulatedBikeComputer device(0x51);
        QVERIFY(device.start());
        device.setFault(FaultMode::NoiseBeforeAnswer);
        ComConnection connection;
        LinkRecorder recorder(connection);
        // One line per stray byte before the identification answer (and before every later one).
        for (int i = 0; i < SimulatedBikeComputer::noiseBytes().size(); ++i)
            QTest::ignoreMessage(QtCriticalMsg, "Wrong start byte.");
        if (!bringUp(connection, recorder, device))
            return;
        const QList<int> updates{0x00, 0x80, 0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40, 0x100};
        QCOMPARE(recorder.updates.mid(0, updates.size()), updates);
        connection.close();
        QTRY_VERIFY_WITH_TIMEOUT(recorder.hasState(Closed), Timeout);
        QVERIFY(!recorder.hasState(Closed, ConnectionLost));
        compareRecords(*connection.getData(), expectedRecord(device.values()));
    }

    void corruptChecksumsLoseTheLink()
    {
        SimulatedBikeComputer device(0x23);
        QVERIFY(device.start());
        ComConnection connection;
        LinkRecorder recorder(connection);
        if (!openToFirmwareCheck(connection, recorder, device))
            return;

        connection.setAnswerTimeout(ShortAnswerTimeout);
        device.setFault(FaultMode::CorruptChecksum);
        for (int attempt = 0; attempt < ComConnection::TransmissionAttempts; ++attempt)
            QTest::ignoreMessage(QtCriticalMsg, "ConnectionError: Wrong checksum.  \"93\"");
        QTest::ignoreMessage(QtCriticalMsg, "Timeout");
        connection.approveFw();
        QTRY_VERIFY_WITH_TIMEOUT(recorder.hasState(Closed, ConnectionLost), Timeout);
        // The send thread may go on to the next request before the loss is acted on.
        QCOMPARE(codesOf(device).mid(0, 5), (QList<int>{0x12, 0x64, 0x13, 0x13, 0x13}));
        QCOMPARE(recorder.updates, (QList<int>{IdentityUpdate, FirmwareVersionUpdate}));
        QCOMPARE(connection.getData()->dailyAltGain, 0u);
    }

    void droppedAnswerIsAskedForAgain()
    {
        SimulatedBikeComputer device(0x23);
        QVERIFY(device.start());
        ComConnection connection;
        LinkRecorder recorder(connection);
        if (!openToFirmwareCheck(connection, recorder, device))
            return;

        connection.setAnswerTimeout(ShortAnswerTimeout);
        device.setFault(FaultMode::DropNthAnswer, 1);
        connection.approveFw();
        const QList<int> updates{0x00, 0x80, 0x01, 0x02, 0x04, 0x08, 0x10, 0x20, 0x40};
        QTRY_VERIFY_WITH_TIMEOUT(recorder.updates.size() >= updates.size(), Timeout);
        QCOMPARE(recorder.updates.mid(0, updates.size()), updates);
        QCOMPARE(codesOf(device).mid(0, 10), (QList<int>{0x12, 0x64, 0x13, 0x13, 0x21, 0x31, 0x41, 0x53, 0x55, 0x61}));
        QCOMPARE(connection.getConnectionState(), Connected);
        QVERIFY(!recorder.hasState(Closed, ConnectionLost));
    }
};

QTEST_GUILESS_MAIN(tst_LinkFaults)
#include "tst_linkfaults.moc"
