// SPDX-License-Identifier: GPL-3.0-or-later
#include "linkhub/ComConnection.h"
#include "support/Frames.h"

#include <QSignalSpy>
#include <QTest>

namespace {
void feed(ComConnection &connection, const QByteArray &bytes)
{
    for (char byte : bytes)
        connection.handleByte(static_cast<unsigned char>(byte));
}

void identify(ComConnection &connection, unsigned char id)
{
    feed(connection, Frames::frame(0x92, QByteArray(1, char(id))));
}

QByteArray twoBikeSettings(quint8 flags, bool withExtraByte)
{
    QByteArray payload = QByteArray::fromHex("40e20100"          // daily 123456 mm
                                             "00e40b5402000000"  // total 10 000 km
                                             "3412" "07"         // param word, param byte
                                             "0a1402"            // 2:20:10
                                             "1301" "2c02"       // avg 27.5, max 55.6 km/h
                                             "5a78");            // cadence 90, 120
    payload.append(char(flags));
    if (withExtraByte)
        payload.append(char(0x42));
    return payload;
}
}

class tst_AnswerDispatch : public QObject
{
    Q_OBJECT

private slots:
    void altitudeBlock()
    {
        ComConnection connection;
        identify(connection, 0x23);
        QSignalSpy updates(&connection, &ComConnection::modelDataUpdate);
        QByteArray payload = Frames::counting(53);
        payload[4] = char(0xF6);
        payload[5] = char(0x05);
        payload[52] = char(0x05);
        feed(connection, Frames::frame(0x93, payload));
        QCOMPARE(updates.count(), 1);
        QCOMPARE(updates.at(0).at(1).toInt(), int(AltitudeUpdate));
        const ModelData *data = connection.getData();
        QCOMPARE(data->altitudeParamA, 0x0201);
        QCOMPARE(data->altitudeParamB, 0x0403);
        QCOMPARE(data->dailyMaxTemp, -10);
        QCOMPARE(data->dailyMinTemp, 5);
        QCOMPARE(data->bikes[0].altGain, 0x0A090807u);
        QCOMPARE(data->bikes[0].altLoss, 0x0E0D0C0Bu);
        QCOMPARE(data->bikes[0].maxAlt, 0x100F);
        QCOMPARE(data->bikes[1].altGain, 0x14131211u);
        QCOMPARE(data->bikes[1].maxAlt, 0x1A19);
        QCOMPARE(data->dailyAltGain, 0x1E1D1C1Bu);
        QCOMPARE(data->dailyMaxAlt, 0x2423);
        QCOMPARE(data->ascentAvgGradient, 0x2625);
        QCOMPARE(data->descentMaxVario, 0x3433);
        QVERIFY(data->altitudeFlagA);
        QVERIFY(!data->altitudeFlagB);
        QVERIFY(data->altitudeFlagC);
    }

    void heartRateBlock()
    {
        ComConnection connection;
        identify(connection, 0x22);
        QByteArray payload = Frames::counting(23);
        payload.replace(18, 4, QByteArray::fromHex("40e20100")); // 123456 cal
        payload[22] = char(0x03);
        feed(connection, Frames::frame(0xB1, payload));
        const ModelData *data = connection.getData();
        QCOMPARE(data->dailyCalories, 123u);
        QCOMPARE(data->heartRateParamA, 1);
        QCOMPARE(data->heartRateParamWord, 0x0302);
        QCOMPARE(data->avgHeartRate, 8);
        QCOMPARE(data->maxHeartRate, 9);
        QCOMPARE(data->hrLowerZoneHour, 12);
        QCOMPARE(data->hrInZoneSec, 13);
        QCOMPARE(data->hrUpperZoneHour, 18);
        QCOMPARE(data->heartRateFlagA, 1);
        QVERIFY(data->heartRateFlagB);
    }

    void clockBlock()
    {
        ComConnection connection;
        identify(connection, 0x21);
        const QDateTime before = QDateTime::currentDateTime();
        feed(connection, Frames::frame(0xC1, QByteArray::fromHex("0d0c1f173b3a01")));
        const ModelData *data = connection.getData();
        QCOMPARE(data->getDateTime(), QDateTime(QDate(2013, 12, 31), QTime(23, 59, 58)));
        QVERIFY(data->clockFlag);
        QVERIFY(data->receivedAt >= before);
    }

    void bikeSettings_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<int>("code");
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<int>("bike");
        QTest::addColumn<bool>("extraFields");

        QTest::newRow("Lumo 60 bike 1, all flags") << 0x51 << 0xD3 << twoBikeSettings(0x0F, true) << 0 << true;
        QTest::newRow("Lumo 60 bike 2") << 0x51 << 0xD5 << twoBikeSettings(0x0F, true) << 1 << true;
        QTest::newRow("Lumo 50 bike 1") << 0x23 << 0xD3 << twoBikeSettings(0x0F, false) << 0 << false;
        QTest::newRow("Lumo 20 bike 2") << 0x21 << 0xD5 << twoBikeSettings(0x0F, false) << 1 << false;
    }

    void bikeSettings()
    {
        QFETCH(int, model);
        QFETCH(int, code);
        QFETCH(QByteArray, payload);
        QFETCH(int, bike);
        QFETCH(bool, extraFields);
        ComConnection connection;
        identify(connection, model);
        QSignalSpy updates(&connection, &ComConnection::modelDataUpdate);
        feed(connection, Frames::frame(code, payload));
        QCOMPARE(updates.count(), 1);
        QCOMPARE(updates.at(0).at(1).toInt(), int(bike == 0 ? Bike1Update : Bike2Update));
        const ModelData *data = connection.getData();
        const Bike &b = data->bikes[bike];
        QCOMPARE(b.dailyDistance, 123456u);
        QCOMPARE(b.totalDistance, Q_UINT64_C(10000000000));
        QCOMPARE(b.bikeParamWord, 0x1234);
        QCOMPARE(b.bikeParamByte, 7);
        QCOMPARE(b.rideTimeHour, 2);
        QCOMPARE(b.rideTimeMin, 20);
        QCOMPARE(b.rideTimeSec, 10);
        QCOMPARE(b.avgSpeed, 275);
        QCOMPARE(b.maxSpeed, 556);
        QCOMPARE(b.avgCadence, 90);
        QCOMPARE(b.maxCadence, 120);
        QCOMPARE(data->unitSystem, 1);
        QVERIFY(b.bikeFlagA);
        QCOMPARE(b.bikeFlagB, extraFields);
        QCOMPARE(b.bikeFlagC, extraFields);
        QCOMPARE(int(b.bikeExtraByte), extraFields ? 0x42 : 0);
        QCOMPARE(data->bikes[1 - bike].totalDistance, Q_UINT64_C(0));
    }

    void oneBikeSettings()
    {
        ComConnection connection;
        identify(connection, 0x11);
        feed(connection, Frames::frame(0xD1, QByteArray::fromHex("00e40b5402" "3412" "01")));
        const Bike &bike = connection.getData()->bikes[0];
        QCOMPARE(bike.totalDistance, Q_UINT64_C(10000000000));
        QCOMPARE(bike.bikeParamWord, 0x1234);
        QCOMPARE(bike.dailyDistance, 0u);
        QVERIFY(!bike.bikeFlagA);
        QCOMPARE(connection.getData()->unitSystem, 1);
    }

    void auxAndSmallBlocks()
    {
        ComConnection connection;
        identify(connection, 0x51);
        feed(connection, Frames::frame(0xE1, QByteArray::fromHex("3412785602")));
        feed(connection, Frames::frame(0xE4, QByteArray::fromHex("21")));
        feed(connection, Frames::frame(0xE5, QByteArray::fromHex("9c")));
        feed(connection, Frames::frame(0xA1, QByteArray::fromHex("03")));
        const ModelData *data = connection.getData();
        QCOMPARE(data->bikes[0].bikeAuxWord, 0x1234);
        QCOMPARE(data->bikes[1].bikeAuxWord, 0x5678);
        QVERIFY(!data->bikes[0].bikeAuxFlag);
        QVERIFY(data->bikes[1].bikeAuxFlag);
        QCOMPARE(data->firmwareVersion, 21);
        QCOMPARE(data->modelOption, 0x9c);
        QCOMPARE(data->currentBike, 1);

        ComConnection oneBike;
        identify(oneBike, 0x12);
        feed(oneBike, Frames::frame(0xE1, QByteArray::fromHex("341201")));
        QCOMPARE(oneBike.getData()->bikes[0].bikeAuxWord, 0x1234);
        QVERIFY(oneBike.getData()->bikes[0].bikeAuxFlag);
    }

    void lengthChecks_data()
    {
        QTest::addColumn<int>("model");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("critical"); // empty: accepted
        QTest::addColumn<int>("update"); // -1: no update signal

        QTest::newRow("altitude one byte short") << 0x23 << 0x93 << 52
                                                 << "Illegal command ( \"93\" ) size:  52  should be:  53" << -1;
        QTest::newRow("firmware through the fixed sizes") << 0x21 << 0xE4 << 1 << QString() << int(FirmwareVersionUpdate);
        QTest::newRow("firmware with the model's 0xEx size") << 0x21 << 0xE4 << 5 << QString() << int(FirmwareVersionUpdate);
        QTest::newRow("firmware with two bytes: even codes are not checked")
            << 0x21 << 0xE4 << 2 << QString() << int(FirmwareVersionUpdate);
        QTest::newRow("group the model lacks, short") << 0x11 << 0x93 << 53
                                                      << "Illegal command ( \"93\" ) size:  53  should be:  255" << -1;
        QTest::newRow("group the model lacks, 255 bytes") << 0x11 << 0x93 << 255 << QString() << int(AltitudeUpdate);
        QTest::newRow("Lumo 60 settings on a Lumo 50") << 0x23 << 0xD3 << 26
                                                      << "Illegal command ( \"d3\" ) size:  26  should be:  25" << -1;
        QTest::newRow("odd code without a handler") << 0x23 << 0xC3 << 7 << "Unknown command:  \"c3\"" << -1;
        QTest::newRow("acknowledgement of any length") << 0x23 << 0xD4 << 40 << QString() << -1;
        QTest::newRow("Lumo 70 short altitude is not decoded") << 0x61 << 0x93 << 5 << QString() << -1;
        QTest::newRow("Lumo 70 short heart rate is not decoded") << 0x61 << 0xB1 << 8 << QString() << -1;
        QTest::newRow("Lumo 70 short bike settings are not decoded") << 0x61 << 0xD3 << 16 << QString() << -1;
        QTest::newRow("Lumo 70 clock is decoded") << 0x61 << 0xC1 << 7 << QString() << int(DateTimeUpdate);
    }

    void lengthChecks()
    {
        QFETCH(int, model);
        QFETCH(int, code);
        QFETCH(int, size);
        QFETCH(QString, critical);
        QFETCH(int, update);
        ComConnection connection;
        identify(connection, model);
        QSignalSpy updates(&connection, &ComConnection::modelDataUpdate);
        if (!critical.isEmpty())
            QTest::ignoreMessage(QtCriticalMsg, qPrintable(critical));
        QByteArray payload(size, char(0x11));
        feed(connection, Frames::frame(code, payload));
        QCOMPARE(updates.count(), update < 0 ? 0 : 1);
        if (update >= 0)
            QCOMPARE(updates.at(0).at(1).toInt(), update);
        if (code == 0x93 && update < 0)
            QCOMPARE(connection.getData()->dailyAltGain, 0u);
    }

    void sessionClosedAnswer_data()
    {
        QTest::addColumn<int>("size");
        QTest::newRow("empty, through the fixed sizes") << 0;
        QTest::newRow("model's 0xEx size") << 5;
    }

    void sessionClosedAnswer()
    {
        QFETCH(int, size);
        ComConnection connection;
        identify(connection, 0x22);
        QSignalSpy states(&connection, &ComConnection::connectionStateChanged);
        QTest::ignoreMessage(QtDebugMsg, "Session closed");
        feed(connection, Frames::frame(0xE3, QByteArray(size, 0)));
        // closing reaches hardClose through the event loop, as from the poll thread.
        QTRY_COMPARE(connection.getConnectionState(), Closed);
        QCOMPARE(states.last().at(1).value<ErrorMessage>(), NoError);
    }

    void identification_data()
    {
        QTest::addColumn<QByteArray>("payload");
        QTest::newRow("id outside the catalogue") << QByteArray::fromHex("99");
        QTest::newRow("empty payload counts as id 0") << QByteArray();
    }

    void identification()
    {
        QFETCH(QByteArray, payload);
        ComConnection connection;
        identify(connection, 0x21);
        ModelData *previous = connection.getData();
        previous->dailyCalories = 77;
        QSignalSpy states(&connection, &ComConnection::connectionStateChanged);
        QSignalSpy updates(&connection, &ComConnection::modelDataUpdate);
        feed(connection, Frames::frame(0x92, payload));
        QCOMPARE(states.count(), 1);
        QCOMPARE(states.at(0).at(0).value<ConnectionState>(), Closed);
        QCOMPARE(states.at(0).at(1).value<ErrorMessage>(), UnknownDeviceType);
        QCOMPARE(updates.count(), 0);
        QCOMPARE(connection.getData(), previous);
        QCOMPARE(connection.getData()->dailyCalories, 77u);
        QCOMPARE(int(connection.getDeviceModel()->id), 0x21);
    }

    void reidentificationGivesAFreshRecord()
    {
        ComConnection connection;
        identify(connection, 0x21);
        connection.getData()->dailyCalories = 77;
        identify(connection, 0x51);
        QCOMPARE(int(connection.getData()->deviceModel->id), 0x51);
        QCOMPARE(connection.getData()->dailyCalories, 0u);
        QCoreApplication::processEvents(); // the previous record is freed here, after the update
    }

    void answersBeforeIdentification_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("size");
        QTest::addColumn<QString>("critical");
        QTest::addColumn<int>("progress");
        QTest::newRow("data answer") << 0x93 << 53 << "Answer while not connected:  \"93\"" << -1;
        QTest::newRow("clock") << 0xC1 << 7 << "Answer while not connected:  \"c1\"" << -1;
        QTest::newRow("firmware ack") << 0xF5 << 0 << QString() << 1;
        QTest::newRow("firmware ack with payload") << 0xF5 << 2
                                                   << "Illegal command ( \"f5\" ) size:  2  should be:  0" << -1;
    }

    void answersBeforeIdentification()
    {
        QFETCH(int, code);
        QFETCH(int, size);
        QFETCH(QString, critical);
        QFETCH(int, progress);
        ComConnection connection;
        QSignalSpy progressSpy(&connection, &ComConnection::fwUpdateProgressChanged);
        QSignalSpy complete(&connection, &ComConnection::fwUpdateComplete);
        if (!critical.isEmpty())
            QTest::ignoreMessage(QtCriticalMsg, qPrintable(critical));
        feed(connection, Frames::frame(code, QByteArray(size, 0)));
        QCOMPARE(progressSpy.count(), progress < 0 ? 0 : 1);
        if (progress >= 0)
            QCOMPARE(progressSpy.at(0).at(0).toInt(), progress);
        QCOMPARE(complete.count(), 0);
        QVERIFY(!connection.getData());
    }

    void firmwareAcksCompleteAtTheModelsBlockCount()
    {
        ComConnection connection;
        identify(connection, 0x51);
        QSignalSpy complete(&connection, &ComConnection::fwUpdateComplete);
        for (int block = 1; block <= 28; ++block) {
            QTest::ignoreMessage(QtDebugMsg, qPrintable(QStringLiteral("ack for fw block  %1").arg(block)));
            feed(connection, Frames::frame(0xF5));
        }
        QCOMPARE(complete.count(), 1);
    }
};

QTEST_GUILESS_MAIN(tst_AnswerDispatch)
#include "tst_answerdispatch.moc"
