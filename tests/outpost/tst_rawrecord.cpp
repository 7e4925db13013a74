// SPDX-License-Identifier: GPL-3.0-or-later
#include "FitReader.h"
#include "RawRecordBytes.h"
#include "TimeZoneScope.h"
#include "support/FileBytes.h"

#include "outpost/Outposter.h"

#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sstream>

using namespace RawRecordBytes;

namespace {

constexpr quint16 FileIdGlobal = 0;
constexpr quint16 SessionGlobal = 18;
constexpr quint16 LapGlobal = 19;
constexpr quint16 RecordGlobal = 20;
constexpr quint16 ActivityGlobal = 34;

const QByteArray Utc = "UTC0";
const QByteArray CentralEurope = "CET-1CEST,M3.5.0,M10.5.0/3";
const QByteArray NewYork = "EST5EDT,M3.2.0,M11.1.0";
const QDateTime Start(QDate(2026, 7, 1), QTime(10, 0));
constexpr quint32 StartInUtc = 1151834400;

const QList<quint8> SessionFields = {253, 2, 7, 8, 5, 0, 1, 9, 14, 15, 16, 17, 22, 23, 50,
                                     53, 54, 55, 56, 58, 65, 18, 19, 60, 62, 61, 63, 21, 20};
const QList<quint8> LapFields = {8, 7, 25, 0, 1, 9, 13, 14, 15, 16, 21, 22, 43, 46,
                                 47, 48, 49, 51, 57, 17, 18, 53, 55, 54, 56, 20, 19};
const QList<quint8> RecordFields = {253, 5, 2, 3, 4, 6, 7, 13};

QByteArray exportToBytes(const QByteArray &record, int *result = nullptr)
{
    std::stringstream stream(std::ios::in | std::ios::out | std::ios::binary);
    const int status = Outposter::exportToStream(stream, record);
    if (result)
        *result = status;
    return QByteArray::fromStdString(stream.str());
}

FitFile exportAndRead(const QByteArray &record)
{
    return FitReader::read(exportToBytes(record));
}

QList<quint8> without(QList<quint8> fields, std::initializer_list<quint8> dropped)
{
    for (quint8 field : dropped)
        fields.removeAll(field);
    return fields;
}

} // namespace

class tst_RawRecord : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // A value set on a field the profile table lacks would silently miss the file.
        QTest::failOnWarning(QRegularExpression(QStringLiteral("has no field")));
    }

    void headerOnlyGivesTheSummaryWithoutElapsedTimes()
    {
        TimeZoneScope zone(Utc);
        const FitFile file = exportAndRead(header(Start, 1));
        QVERIFY2(file.isValid(), qPrintable(file.error));
        QCOMPARE(file.sequence, QStringLiteral("DMDMDMDM"));
        QCOMPARE(file.messages[0].fieldNumbers(), (QList<quint8>{1, 2, 0}));
        QCOMPARE(file.messages[1].fieldNumbers(), (QList<quint8>{253, 1, 2, 3, 4}));
        QCOMPARE(file.messages[2].fieldNumbers(), without(SessionFields, {7, 8}));
        QCOMPARE(file.messages[3].fieldNumbers(), without(LapFields, {7, 8}));
        QCOMPARE(file.messages[3].globalNumber, LapGlobal);
    }

    void summaryValues_data()
    {
        QTest::addColumn<int>("global");
        QTest::addColumn<int>("field");
        QTest::addColumn<int>("baseType");
        QTest::addColumn<qint64>("value");
        struct Row
        {
            const char *name;
            int session, lap, baseType;
            qint64 value;
        };
        // -1: the message has no such field.
        const Row rows[] = {
            {"elapsed time", 7, 7, 0x86, 4000},
            {"timer time", 8, 8, 0x86, 4000},
            {"sport", 5, 25, 0x00, 2},
            {"event", 0, 0, 0x00, 26},
            {"event type", 1, 1, 0x00, 0},
            {"distance", 9, 9, 0x86, 1234568},
            {"average speed", 14, 13, 0x84, 7083},
            {"maximum speed", 15, 14, 0x84, 14528},
            {"average heart rate", 16, 15, 0x02, 141},
            {"maximum heart rate", 17, 16, 0x02, 187},
            {"ascent beyond 16 bits, left out", 22, 21, 0x84, 0xFFFF},
            {"descent", 23, 22, 0x84, 850},
            {"maximum altitude", 50, 43, 0x84, 8670},
            {"average ascent grade", 53, 46, 0x83, 400},
            {"average descent grade", 54, 47, 0x83, 600},
            {"maximum ascent grade", 55, 48, 0x83, 1200},
            {"maximum descent grade", 56, 49, 0x83, 1500},
            {"maximum temperature", 58, 51, 0x01, -3},
            {"time in zone", 65, 57, 0x86, 2730000},
            {"average cadence", 18, 17, 0x02, 85},
            {"maximum cadence", 19, 18, 0x02, 120},
            {"average ascent rate", 60, 53, 0x83, 500},
            {"maximum ascent rate", 62, 55, 0x83, 1000},
            {"average descent rate", 61, 54, 0x83, 250},
            {"maximum descent rate", 63, 56, 0x83, 1500},
            {"maximum power", 21, 20, 0x84, 640},
            {"average power", 20, 19, 0x84, 180},
            {"time stamp", 253, -1, 0x86, StartInUtc},
            {"start", 2, -1, 0x86, StartInUtc},
        };
        for (const Row &row : rows) {
            QTest::addRow("session: %s", row.name) << int(SessionGlobal) << row.session << row.baseType << row.value;
            if (row.lap >= 0)
                QTest::addRow("lap: %s", row.name) << int(LapGlobal) << row.lap << row.baseType << row.value;
        }
        QTest::newRow("manufacturer") << int(FileIdGlobal) << 1 << 0x84 << qint64(77);
        QTest::newRow("product") << int(FileIdGlobal) << 2 << 0x84 << qint64(81);
        QTest::newRow("file type") << int(FileIdGlobal) << 0 << 0x00 << qint64(4);
        QTest::newRow("activity time stamp") << int(ActivityGlobal) << 253 << 0x86 << qint64(StartInUtc);
        QTest::newRow("activity sessions") << int(ActivityGlobal) << 1 << 0x84 << qint64(1);
        QTest::newRow("activity type") << int(ActivityGlobal) << 2 << 0x00 << qint64(2);
        QTest::newRow("activity event") << int(ActivityGlobal) << 3 << 0x00 << qint64(8);
        QTest::newRow("activity event type") << int(ActivityGlobal) << 4 << 0x00 << qint64(0);
        QTest::newRow("activity timer time") << int(ActivityGlobal) << 0 << 0x86 << qint64(4000);
    }

    // Three samples two seconds apart: elapsed is 4 s.
    void summaryValues()
    {
        QFETCH(int, global);
        QFETCH(int, field);
        QFETCH(int, baseType);
        QFETCH(qint64, value);
        TimeZoneScope zone(Utc);
        const FitFile file = exportAndRead(header(Start, 2) + sample(255) + sample(255) + sample(255));
        QVERIFY2(file.isValid(), qPrintable(file.error));
        const QList<FitMessage> messages = file.messagesOf(quint16(global));
        QCOMPARE(messages.size(), 1);
        if (global == SessionGlobal)
            QCOMPARE(messages[0].fieldNumbers(), SessionFields);
        if (global == LapGlobal)
            QCOMPARE(messages[0].fieldNumbers(), LapFields);
        const FitField *found = messages[0].field(quint8(field));
        QVERIFY(found);
        QCOMPARE(found->baseType, quint8(baseType));
        const bool isSigned = baseType == 0x01 || baseType == 0x83;
        QCOMPARE(isSigned ? found->signedRaw() : qint64(found->raw()), value);
    }

    void samplesAndTimeMarks_data()
    {
        QTest::addColumn<QByteArray>("blocks");
        QTest::addColumn<QList<quint32>>("offsets");
        QTest::newRow("three samples at 2 s") << sample(255) + sample(255) + sample(255) << QList<quint32>{0, 2, 4};
        QTest::newRow("a time mark moves the later samples")
            << sample(255) + timeMark(Start.addSecs(600)) + sample(255) + sample(255) << QList<quint32>{0, 600, 602};
        QTest::newRow("a time mark first") << timeMark(Start.addSecs(30)) + sample(255) << QList<quint32>{30};
        QTest::newRow("a time mark naming no date is passed over")
            << sample(255) + timeMark(QDateTime(QDate(2026, 2, 30), QTime(10, 0))) + sample(255)
            << QList<quint32>{0, 2};
        QTest::newRow("a trailing partial block is ignored") << sample(255) + sample(255).left(14)
                                                             << QList<quint32>{0};
    }

    void samplesAndTimeMarks()
    {
        QFETCH(QByteArray, blocks);
        QFETCH(QList<quint32>, offsets);
        TimeZoneScope zone(Utc);
        const FitFile file = exportAndRead(header(Start, 2) + blocks);
        QVERIFY2(file.isValid(), qPrintable(file.error));
        const QList<FitMessage> records = file.messagesOf(RecordGlobal);
        QCOMPARE(records.size(), offsets.size());
        for (int i = 0; i < records.size(); ++i)
            QCOMPARE(records[i].field(253)->raw(), quint64(quint32(StartInUtc + offsets[i])));
        const quint64 elapsed = quint64(quint32(offsets.last() * 1000u));
        QCOMPARE(file.messagesOf(SessionGlobal)[0].field(7)->raw(), elapsed);
        QCOMPARE(file.messagesOf(ActivityGlobal)[0].field(0)->raw(), elapsed);
        QCOMPARE(Outposter::parseRecord(header(Start, 2) + blocks).samples.size(), std::size_t(offsets.size()));
    }

    void sampleValuesAndBalance()
    {
        TimeZoneScope zone(Utc);
        // Without balance, then with it (a new definition), then without again (the field padded).
        const FitFile file = exportAndRead(header(Start, 1) + sample(255) + sample(50) + sample(255, 0, 0));
        QVERIFY2(file.isValid(), qPrintable(file.error));
        QCOMPARE(file.sequence, QStringLiteral("DMDMDMDM") + QStringLiteral("DMDMM"));
        const QList<FitMessage> records = file.messagesOf(RecordGlobal);
        QCOMPARE(records[0].fieldNumbers(), RecordFields);
        QCOMPARE(records[1].fieldNumbers(), RecordFields + QList<quint8>{30});
        QCOMPARE(records[2].fieldNumbers(), RecordFields + QList<quint8>{30});
        const QList<QByteArray> expected = {
            QByteArray::fromHex("2099a744" "96000000" "f811" "96" "5a" "8d20" "fa00" "fe"),
            QByteArray::fromHex("2199a744" "96000000" "f811" "96" "5a" "8d20" "fa00" "fe" "b2"),
            QByteArray::fromHex("2299a744" "00000000" "f811" "96" "5a" "0000" "fa00" "fe" "ff"),
        };
        for (int i = 0; i < records.size(); ++i) {
            QByteArray bytes;
            for (const FitField &field : records[i].fields)
                bytes += field.bytes;
            QCOMPARE(bytes.toHex(), expected[i].toHex());
        }
    }

    void sampleSpeedBeyondItsFieldIsLeftOut()
    {
        TimeZoneScope zone(Utc);
        // 250.0 km/h in the middle sample only: its speed is left out, the samples around keep theirs.
        QTest::ignoreMessage(QtWarningMsg, "FIT field record.speed cannot hold 69.4444 m/s (left out)");
        const FitFile file = exportAndRead(header(Start, 1) + sample(255) + sample(255, 2500) + sample(255));
        QVERIFY2(file.isValid(), qPrintable(file.error));
        const QList<FitMessage> records = file.messagesOf(RecordGlobal);
        QCOMPARE(records.size(), 3);
        QCOMPARE(records[0].field(6)->raw(), 8333u);
        QCOMPARE(records[1].field(6)->raw(), 0xFFFFu);
        QCOMPARE(records[1].field(3)->raw(), 150u);
        QCOMPARE(records[2].field(6)->raw(), 8333u);
    }

    void timestampsAreTrueInstants_data()
    {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QDateTime>("start");
        QTest::addColumn<quint32>("timestamp");
        QTest::newRow("UTC") << Utc << Start << StartInUtc;
        QTest::newRow("Central Europe, summer time") << CentralEurope << Start << 1151827200u;
        QTest::newRow("Central Europe, winter time") << CentralEurope << QDateTime(QDate(2026, 1, 15), QTime(10, 0))
                                                     << 1137402000u;
        QTest::newRow("New York, summer time") << NewYork << Start << StartInUtc + 4 * 3600;
    }

    void timestampsAreTrueInstants()
    {
        QFETCH(QByteArray, zone);
        QFETCH(QDateTime, start);
        QFETCH(quint32, timestamp);
        TimeZoneScope scope(zone);
        const QDateTime local(start.date(), start.time());
        const QDateTime markTime = local.addSecs(3600);
        const FitFile file = exportAndRead(header(local, 1) + sample(255) + timeMark(markTime) + sample(255));
        QVERIFY2(file.isValid(), qPrintable(file.error));
        QCOMPARE(file.messagesOf(SessionGlobal)[0].field(2)->raw(), quint64(timestamp));
        const QList<FitMessage> records = file.messagesOf(RecordGlobal);
        QCOMPARE(records[0].field(253)->raw(), quint64(timestamp));
        QCOMPARE(records[1].field(253)->raw(), quint64(timestamp + 3600));
    }

    void parsedHeader()
    {
        TimeZoneScope zone(Utc);
        const ParsedRecord parsed = Outposter::parseRecord(header(Start, 2) + timeMark(Start) + sample(50));
        QVERIFY(parsed.valid);
        QCOMPARE(parsed.start, Start);
        QCOMPARE(parsed.startTimestamp, StartInUtc);
        const QList<qint64> values = {parsed.maxTemperature, parsed.headerParamA, parsed.avgHeartRate,
                                      parsed.maxHeartRate, parsed.timeParamA, parsed.hrInZoneSeconds,
                                      parsed.timeParamB, parsed.maxSpeed, parsed.avgSpeed, parsed.distance,
                                      parsed.durationParam, parsed.altGain, parsed.altLoss, parsed.maxAlt,
                                      parsed.ascentAvgGradient, parsed.ascentMaxGradient, parsed.descentAvgGradient,
                                      parsed.descentMaxGradient, parsed.ascentAvgVario, parsed.ascentMaxVario,
                                      parsed.descentAvgVario, parsed.descentMaxVario, parsed.avgPower,
                                      parsed.maxPower, parsed.avgCadence, parsed.maxCadence, parsed.sampleInterval,
                                      parsed.timeMarkCount};
        QCOMPARE(values, (QList<qint64>{-3, 0x11, 141, 187, 3845, 2730, 7200, 523, 255, 12345678, 3723, 70000,
                                        850, 1234, 4, 12, 6, 15, 1800, 3600, 900, 5400, 180, 640, 85, 120, 2, 1}));
        QCOMPARE(parsed.samples.size(), std::size_t(1));
        const RecordSample &s = parsed.samples[0];
        QCOMPARE((QList<qint64>{s.timestamp, s.speed, s.heartRate, s.cadence, s.distance, s.power, s.altitude,
                                s.temperature, s.balance}),
                 (QList<qint64>{StartInUtc, 300, 150, 90, 1500, 250, 420, -2, 50}));
    }

    void refusedRecordsWriteNothing_data()
    {
        QTest::addColumn<QByteArray>("record");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("one byte") << QByteArray(1, '\x05');
        QTest::newRow("63 bytes") << header(Start, 1).left(63);
        QTest::newRow("a start that is no date") << header(QDateTime(QDate(2026, 2, 28), QTime(10, 0)), 1)
                                                        .replace(3, 1, "\x1e") + sample(255);
        QTest::newRow("a start that is no time of day") << header(Start, 1).replace(2, 1, "\x18") + sample(255);
    }

    void refusedRecordsWriteNothing()
    {
        QFETCH(QByteArray, record);
        int result = 0;
        QVERIFY(exportToBytes(record, &result).isEmpty());
        QCOMPARE(result, -1);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("ride.fit"));
        QCOMPARE(Outposter::exportToFit(path, record), -1);
        QVERIFY(!QFile::exists(path));
        const ParsedRecord parsed = Outposter::parseRecord(record);
        QVERIFY(!parsed.valid);
        QVERIFY(parsed.samples.empty());
    }

    void fileHoldsTheStreamBytesAndReplacesAnOldOne()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("ride.fit"));
        QVERIFY(FileBytes::write(path, QByteArray(5000, 'x')));
        const QByteArray record = header(Start, 1) + sample(255) + sample(50);
        QCOMPARE(Outposter::exportToFit(path, record), 0);
        QCOMPARE(FileBytes::read(path), exportToBytes(record));
        QCOMPARE(Outposter::exportToFit(path, QByteArray(10, '\0')), -1);
        QCOMPARE(FileBytes::read(path), exportToBytes(record));
    }
};

QTEST_GUILESS_MAIN(tst_RawRecord)
#include "tst_rawrecord.moc"
