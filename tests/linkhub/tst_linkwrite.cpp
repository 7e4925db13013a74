// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinkRecorder.h"
#include "RawLine.h"
#include "RecordComparison.h"
#include "SimulatedSession.h"

#include "linkhub/ComConnection.h"
#include "tools/simulator/PseudoTerminal.h"
#include "tools/simulator/SimulatedBikeComputer.h"

#include <QTest>

#include <thread>

namespace {

constexpr int Timeout = int(SessionTimeout.count());

/// The frame the device should see: FF 55, code, length, payload, sum of code to payload.
QByteArray frameOf(quint8 code, const QByteArray &payloadHex)
{
    const QByteArray payload = QByteArray::fromHex(payloadHex);
    QByteArray body;
    body.append(char(code)).append(char(payload.size())).append(payload);
    quint8 sum = 0;
    for (char byte : body)
        sum += quint8(byte);
    return QByteArray("\xFF\x55", 2) + body + char(sum);
}

/// A record whose every writable field differs from zero and from its neighbours.
ModelData distinctRecord(const DeviceModel *model)
{
    ModelData data(model);
    data.altitudeParamA = 0x1234;
    data.altitudeParamB = 0xBEEF;
    data.altitudeFlagA = true;
    data.altitudeFlagC = true;
    data.currentBike = 1;
    data.heartRateParamA = 0x11;
    data.heartRateParamWord = 0x2233;
    data.heartRateParamB = 0x44;
    data.heartRateParamC = 0x55;
    data.heartRateParamD = 0x66;
    data.heartRateParamE = 0x77;
    data.heartRateFlagA = 1;
    data.heartRateFlagB = true;
    data.setDateTime(QDateTime(QDate(2013, 5, 6), QTime(7, 8, 9)));
    data.clockFlag = true;
    data.unitSystem = 1;
    data.modelOption = 0xA5;
    data.bikes[0].totalDistance = 10000000000ull;
    data.bikes[0].dailyDistance = 0x01020304;
    data.bikes[0].bikeParamWord = 0x0506;
    data.bikes[0].bikeParamByte = 0x07;
    data.bikes[0].bikeFlagA = true;
    data.bikes[0].bikeFlagB = true;
    data.bikes[0].bikeExtraByte = 0x3C;
    data.bikes[0].bikeAuxWord = 0xCAFE;
    data.bikes[0].bikeAuxFlag = true;
    data.bikes[1].totalDistance = 123456789;
    data.bikes[1].bikeParamWord = 0x0102;
    data.bikes[1].bikeAuxWord = 0x0B0A;
    data.bikes[1].bikeAuxFlag = true;
    return data;
}

} // namespace

// Writing values back: the bytes on the wire, the adoption of the written record, and a round
// trip through the simulated bike computer.
class tst_LinkWrite : public QObject
{
    Q_OBJECT

private slots:
    void payloadOnTheWire_data()
    {
        QTest::addColumn<int>("modelId");
        QTest::addColumn<int>("bits");
        QTest::addColumn<int>("code");
        QTest::addColumn<QByteArray>("payload");

        QTest::newRow("altitude") << 0x23 << int(AltitudeUpdate) << 0x14 << QByteArray("3412efbe05");
        QTest::newRow("current bike 2") << 0x22 << int(CurrentBikeUpdate) << 0x22 << QByteArray("01");
        QTest::newRow("heart rate") << 0x22 << int(HeartRateUpdate) << 0x32 << QByteArray("1133224455667703");
        QTest::newRow("clock with date") << 0x21 << int(DateTimeUpdate) << 0x42 << QByteArray("0d0506070809 01");
        QTest::newRow("clock without date") << 0x11 << int(DateTimeUpdate) << 0x42 << QByteArray("000000070809 01");
        QTest::newRow("bike 1, one bike") << 0x11 << int(Bike1Update) << 0x52 << QByteArray("00e40b5402 0605 01");
        QTest::newRow("bike 1, two bikes") << 0x22 << int(Bike1Update) << 0x54
                                           << QByteArray("04030201 00e40b5402000000 0605 07 03");
        QTest::newRow("bike 1, Lumo 60") << 0x51 << int(Bike1Update) << 0x54
                                         << QByteArray("04030201 00e40b5402000000 0605 07 07 3c");
        QTest::newRow("bike 2, two bikes") << 0x21 << int(Bike2Update) << 0x56
                                           << QByteArray("00000000 15cd5b0700000000 0201 00 01");
        QTest::newRow("bike extras, one bike") << 0x12 << int(BikeAuxUpdate) << 0x62 << QByteArray("feca01");
        QTest::newRow("bike extras, two bikes") << 0x23 << int(BikeAuxUpdate) << 0x62 << QByteArray("feca0a0b03");
        QTest::newRow("model option") << 0x51 << int(ModelOptionUpdate) << 0x66 << QByteArray("a5");
    }

    void payloadOnTheWire()
    {
        QFETCH(int, modelId);
        QFETCH(int, bits);
        QFETCH(int, code);
        QFETCH(QByteArray, payload);

        ComConnection connection;
        PseudoTerminal line;
        QVERIFY(openQuietSession(connection, line, modelId));
        ModelData data = distinctRecord(connection.getDeviceModel());
        connection.sendModelData(&data, ModelDataUpdateBits(bits));

        const QByteArray expected = frameOf(quint8(code), payload.replace(' ', ""));
        QCOMPARE(readFromLink(line, expected.size()).toHex(' '), expected.toHex(' '));
        QVERIFY(connection.getData() != &data);
        compareRecords(*connection.getData(), data);
    }

    void illegalBitsSendNothingButAdopt_data()
    {
        QTest::addColumn<int>("bits");
        QTest::addColumn<QString>("message");
        QTest::newRow("identity") << int(IdentityUpdate) << QStringLiteral("Illegal ModelDataUpdateBits:  \"0\"");
        QTest::newRow("two blocks") << 0x18 << QStringLiteral("Illegal ModelDataUpdateBits:  \"11000\"");
        QTest::newRow("firmware version") << int(FirmwareVersionUpdate)
                                          << QStringLiteral("Illegal ModelDataUpdateBits:  \"10000000\"");
    }

    void illegalBitsSendNothingButAdopt()
    {
        QFETCH(int, bits);
        QFETCH(QString, message);

        ComConnection connection;
        LinkRecorder recorder(connection);
        PseudoTerminal line;
        QVERIFY(openQuietSession(connection, line, 0x23));
        ModelData data = distinctRecord(connection.getDeviceModel());
        QTest::ignoreMessage(QtCriticalMsg, message.toUtf8());
        connection.sendModelData(&data, ModelDataUpdateBits(bits));

        QTRY_COMPARE_WITH_TIMEOUT(recorder.updates, QList<int>{IdentityUpdate}, Timeout);
        QCOMPARE(recorder.record, connection.getData());
        compareRecords(*connection.getData(), data);
        QTest::qWait(300);
        QCOMPARE(line.readAvailable().toHex(' '), QByteArray());
    }

    void writeThenReadBack_data()
    {
        QTest::addColumn<int>("modelId");
        QTest::addColumn<bool>("fromAnotherThread");
        for (int id : {0x11, 0x21, 0x22, 0x23, 0x51})
            QTest::addRow("model %x", id) << id << false;
        QTest::newRow("model 51, queued from another thread") << 0x51 << true;
    }

    // Every block the model reads is written with new values; the device stores them, and a
    // new session reads them back.
    void writeThenReadBack()
    {
        QFETCH(int, modelId);
        QFETCH(bool, fromAnotherThread);

        SimulatedLink link{quint8(modelId)};
        if (!link.start())
            return;
        auto &[device, connection, recorder] = link;

        // The connection's own record, changed in place, then written block by block.
        ModelData *own = connection.getData();
        const ModelData before = *own;
        const ModelData written = distinctRecord(own->deviceModel);
        *own = written;
        const QList<QPair<int, quint8>> blocks{
            {AltitudeUpdate, 0x14}, {CurrentBikeUpdate, 0x22}, {HeartRateUpdate, 0x32}, {DateTimeUpdate, 0x42},
            {Bike1Update, quint8(own->deviceModel->bikeCount == 1 ? 0x52 : 0x54)},      {Bike2Update, 0x56},
            {BikeAuxUpdate, 0x62},  {ModelOptionUpdate, 0x66}};
        device.clearRequests();
        recorder.clear();
        QList<quint8> sent;
        for (const auto &[bits, write] : blocks) {
            if (!device.model()->requestCommands.contains(write - 1))
                continue; // a block the model does not keep
            sent.append(write);
            if (fromAnotherThread) {
                std::thread caller([&, &connection = connection, bits = bits] {
                    QMetaObject::invokeMethod(&connection, "sendModelData", Qt::QueuedConnection,
                                              Q_ARG(ModelData *, const_cast<ModelData *>(&written)),
                                              Q_ARG(ModelDataUpdateBits, ModelDataUpdateBits(bits)));
                });
                caller.join();
            } else {
                connection.sendModelData(connection.getData(), ModelDataUpdateBits(bits));
            }
        }
        const auto acknowledged = [&device = device] {
            QList<quint8> codes;
            for (const SimulatedBikeComputer::Request &request : device.requests())
                if (request.answered && request.code != ReadDateTime)
                    codes.append(request.code);
            return codes;
        };
        QTRY_COMPARE_WITH_TIMEOUT(acknowledged(), sent, Timeout);
        // Each write announced the adopted record with the written block.
        for (const auto &[bits, write] : blocks)
            QCOMPARE(recorder.updates.contains(bits), sent.contains(write));
        QCOMPARE(recorder.record, connection.getData());

        connection.close();
        QTRY_VERIFY_WITH_TIMEOUT(recorder.hasState(Closed), Timeout);
        recorder.clear();
        if (!bringUp(connection, recorder, device))
            return;
        const ModelData &read = *connection.getData();
        compareRecords(read, expectedRecord(device.values()));
        QCOMPARE(read.hour, written.hour);
        QCOMPARE(read.second, written.second);
        QCOMPARE(read.clockFlag, written.clockFlag);
        QCOMPARE(read.bikes[0].totalDistance, written.bikes[0].totalDistance);
        QCOMPARE(read.bikes[0].bikeParamWord, written.bikes[0].bikeParamWord);
        QCOMPARE(read.bikes[0].bikeAuxWord, written.bikes[0].bikeAuxWord);
        QCOMPARE(read.unitSystem, 1);
        if (device.model()->hasDate)
            QCOMPARE(read.getDateTime().date(), QDate(2013, 5, 6));
        else
            QCOMPARE(read.month, before.month); // the device keeps its date when sent zeros
        if (device.model()->bikeCount == 2) {
            QCOMPARE(read.currentBike, 1);
            QCOMPARE(read.bikes[1].totalDistance, written.bikes[1].totalDistance);
            QCOMPARE(read.bikes[0].bikeParamByte, written.bikes[0].bikeParamByte);
            QCOMPARE(read.bikes[0].rideTimeMin, before.bikes[0].rideTimeMin); // never written
        }
        if (device.model()->has(DeviceModel::AltitudeValues))
            QCOMPARE(read.altitudeParamB, written.altitudeParamB);
        if (device.model()->requestCommands.contains(ReadHeartRate))
            QCOMPARE(read.heartRateParamWord, written.heartRateParamWord);
        if (device.model()->id == 0x51) {
            QCOMPARE(read.modelOption, written.modelOption);
            QCOMPARE(read.bikes[0].bikeExtraByte, written.bikes[0].bikeExtraByte);
        }
    }

    void unacknowledgedWriteLosesTheLink()
    {
        SimulatedLink link(0x21);
        if (!link.start())
            return;
        auto &[device, connection, recorder] = link;
        connection.stopTimer();
        connection.setAnswerTimeout(ShortAnswerTimeout);
        device.setFault(FaultMode::UnacknowledgedWrite);
        device.clearRequests();
        QTest::ignoreMessage(QtCriticalMsg, "Timeout");
        connection.sendModelData(connection.getData(), DateTimeUpdate);
        QTRY_VERIFY_WITH_TIMEOUT(recorder.hasState(Closed, ConnectionLost), Timeout);
        QCOMPARE(device.requestCodes(), (QList<quint8>{0x42, 0x42, 0x42}));
    }
};

QTEST_GUILESS_MAIN(tst_LinkWrite)
#include "tst_linkwrite.moc"
