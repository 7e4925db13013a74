// SPDX-License-Identifier: GPL-3.0-or-later
#include "linkhub/DeviceCatalogue.h"
#include "linkhub/ModelData.h"

#include <QTest>

class tst_ModelData : public QObject
{
    Q_OBJECT

private:
    DeviceCatalogue::Map catalogue;

private slots:
    void initTestCase() { catalogue = DeviceCatalogue::build(); }
    void cleanupTestCase() { DeviceCatalogue::release(catalogue); }

    void freshRecordIsZero()
    {
        const ModelData data(catalogue.value(0x51));
        QCOMPARE(data.deviceModel, catalogue.value(0x51));
        QVERIFY(data.receivedAt.isNull());
        QCOMPARE(data.dailyCalories, 0u);
        QCOMPARE(data.month, 0);
        QCOMPARE(data.bikes[1].totalDistance, 0u);
        QCOMPARE(data.unitSystem, 0);
        QCOMPARE(data.firmwareVersion, 0);
    }

    void defaultConstructorThrows()
    {
        try {
            ModelData data;
            QFAIL("the default constructor must not complete");
        } catch (const char *message) {
            QCOMPARE(QByteArray(message), QByteArray("Shut never be called!"));
        }
    }

    void copySharesCatalogueRow()
    {
        ModelData original(catalogue.value(0x23));
        original.bikes[1].avgSpeed = 253;
        original.setDateTime(QDateTime(QDate(2013, 5, 6), QTime(7, 8, 9)));
        const ModelData copy = original;
        QCOMPARE(copy.deviceModel, original.deviceModel);
        QCOMPARE(copy.bikes[1].avgSpeed, 253);
        QCOMPARE(copy.receivedAt, original.receivedAt);
        QCOMPARE(copy.getDateTime(), original.getDateTime());
    }

    void setDateTime_data()
    {
        QTest::addColumn<QDateTime>("input");
        QTest::addColumn<int>("year");
        QTest::newRow("end of 2012") << QDateTime(QDate(2012, 12, 31), QTime(23, 59, 58)) << 12;
        QTest::newRow("2000") << QDateTime(QDate(2000, 1, 1), QTime(0, 0, 0)) << 0;
        QTest::newRow("2255") << QDateTime(QDate(2255, 6, 15), QTime(12, 0, 1)) << 255;
        QTest::newRow("2256 wraps") << QDateTime(QDate(2256, 6, 15), QTime(12, 0, 1)) << 0;
        QTest::newRow("1999 wraps") << QDateTime(QDate(1999, 3, 4), QTime(5, 6, 7)) << 255;
    }

    void setDateTime()
    {
        QFETCH(QDateTime, input);
        ModelData data(catalogue.value(0x21));
        const QDateTime before = QDateTime::currentDateTime();
        data.setDateTime(input);
        QTEST(int(data.year), "year");
        QCOMPARE(int(data.month), input.date().month());
        QCOMPARE(int(data.day), input.date().day());
        QCOMPARE(int(data.hour), input.time().hour());
        QCOMPARE(int(data.minute), input.time().minute());
        QCOMPARE(int(data.second), input.time().second());
        // receivedAt is when the PC stored the time, not the time stored.
        QVERIFY(data.receivedAt >= before);
        QVERIFY(data.receivedAt <= QDateTime::currentDateTime());
    }

    void roundTripsEndOf2012()
    {
        ModelData data(catalogue.value(0x21));
        const QDateTime moment(QDate(2012, 12, 31), QTime(23, 59, 58));
        data.setDateTime(moment);
        QCOMPARE(data.getDateTime(), moment);
        QCOMPARE(data.getDateTime().timeSpec(), Qt::LocalTime);
    }

    void monthZeroUsesToday()
    {
        ModelData data(catalogue.value(0x21));
        data.year = 13;
        data.day = 17;
        data.hour = 6;
        data.minute = 7;
        data.second = 8;
        const QDateTime result = data.getDateTime();
        QCOMPARE(result.date(), QDate::currentDate());
        QCOMPARE(result.time(), QTime(6, 7, 8));
    }

    void impossibleDateIsInvalid()
    {
        ModelData data(catalogue.value(0x21));
        data.year = 13;
        data.month = 2;
        data.day = 30;
        QVERIFY(!data.getDateTime().isValid());
    }
};

QTEST_GUILESS_MAIN(tst_ModelData)
#include "tst_modeldata.moc"
