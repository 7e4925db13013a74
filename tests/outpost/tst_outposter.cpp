// SPDX-License-Identifier: GPL-3.0-or-later
#include "FileSizeLimit.h"
#include "FitReader.h"
#include "support/FileBytes.h"
#include "SampleRide.h"
#include "TimeZoneScope.h"
#include "UnprivilegedFileAccess.h"
#include "UnreadableStreamBuffer.h"

#include "linkhub/DeviceCatalogue.h"
#include "linkhub/ModelData.h"
#include "outpost/FitLimits.h"
#include "outpost/Outposter.h"

#include <optional>

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

#include <memory>
#include <sstream>

namespace {

constexpr quint16 FileIdGlobal = 0;
constexpr quint16 SessionGlobal = 18;
constexpr quint16 RecordGlobal = 20;
constexpr quint16 ActivityGlobal = 34;

const QByteArray Utc = "UTC0";
const QByteArray CentralEurope = "CET-1CEST,M3.5.0,M10.5.0/3";

const QList<quint8> SessionFieldsWithAltitude = {253, 2, 7, 8, 5, 0, 1, 9, 11, 14, 15, 16, 17, 65,
                                                 22, 23, 50, 53, 54, 55, 56, 58, 60, 62, 61, 63, 18, 19};
const QList<quint8> SessionFieldsWithoutAltitude = {253, 2, 7, 8, 5, 0, 1, 9, 11, 14, 15, 16, 17, 65, 18, 19};

} // namespace

class tst_Outposter : public QObject
{
    Q_OBJECT

private:
    DeviceCatalogue::Map catalogue;
    std::unique_ptr<QTemporaryDir> folder;

    ModelData sampleRecord(unsigned char modelId) const
    {
        ModelData record(catalogue.value(modelId));
        fillSampleRide(record);
        return record;
    }

    static QByteArray exportToBytes(ModelData *record, int bike, const QDateTime &rideStart, int *result = nullptr)
    {
        std::stringstream stream(std::ios::in | std::ios::out | std::ios::binary);
        const int status = Outposter::exportToStream(stream, record, bike, rideStart);
        if (result)
            *result = status;
        return QByteArray::fromStdString(stream.str());
    }

    static FitFile exportAndRead(ModelData *record, int bike, const QDateTime &rideStart)
    {
        return FitReader::read(exportToBytes(record, bike, rideStart));
    }

    static QDateTime summerMorning() { return QDateTime(QDate(2026, 7, 1), QTime(10, 0, 0)); }

private slots:
    void initTestCase()
    {
        // A value set on a field the profile table lacks would silently miss the file.
        QTest::failOnWarning(QRegularExpression(QStringLiteral("has no field")));
        catalogue = DeviceCatalogue::build();
    }
    void cleanupTestCase() { DeviceCatalogue::release(catalogue); }

    void init()
    {
        folder = std::make_unique<QTemporaryDir>();
        QVERIFY(folder->isValid());
        // Searchable by the unprivileged identity of the permission cases.
        QVERIFY(QFile::setPermissions(folder->path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner
                                                          | QFile::ReadOther | QFile::ExeOther | QFile::ReadGroup
                                                          | QFile::ExeGroup));
    }

    void cleanup() { folder.reset(); }

    void fileSizeAndSessionFields_data()
    {
        QTest::addColumn<int>("modelId");
        QTest::addColumn<int>("size");
        QTest::addColumn<QList<quint8>>("sessionFields");
        QTest::newRow("Lumo 10") << 0x11 << 181 << SessionFieldsWithoutAltitude;
        QTest::newRow("Lumo 20") << 0x21 << 181 << SessionFieldsWithoutAltitude;
        QTest::newRow("Lumo 30") << 0x12 << 181 << SessionFieldsWithoutAltitude;
        QTest::newRow("Lumo 40") << 0x22 << 181 << SessionFieldsWithoutAltitude;
        QTest::newRow("Lumo 50") << 0x23 << 240 << SessionFieldsWithAltitude;
        QTest::newRow("Lumo 60") << 0x51 << 240 << SessionFieldsWithAltitude;
        QTest::newRow("Lumo 70") << 0x61 << 240 << SessionFieldsWithAltitude;
    }

    void fileSizeAndSessionFields()
    {
        QFETCH(int, modelId);
        QFETCH(int, size);
        QFETCH(QList<quint8>, sessionFields);
        ModelData record = sampleRecord(quint8(modelId));
        // Within their fields, so that every field holds a value.
        record.dailyCalories = 4465;
        record.bikes[0].altGain = 4464;
        record.bikes[0].maxCadence = 44;
        int result = 1;
        const QByteArray bytes = exportToBytes(&record, 0, summerMorning(), &result);
        QCOMPARE(result, 0);
        QCOMPARE(bytes.size(), size);
        const FitFile file = FitReader::read(bytes);
        QVERIFY2(file.isValid(), qPrintable(file.error));
        QCOMPARE(file.dataSize, quint32(size - 16));
        QCOMPARE(file.sequence, QStringLiteral("DMDMDMDM"));
        QCOMPARE(file.messages.size(), 4);
        QCOMPARE(file.messages[0].globalNumber, FileIdGlobal);
        QCOMPARE(file.messages[1].globalNumber, ActivityGlobal);
        QCOMPARE(file.messages[2].globalNumber, SessionGlobal);
        QCOMPARE(file.messages[3].globalNumber, RecordGlobal);
        for (const FitMessage &message : file.messages)
            QCOMPARE(message.localNumber, quint8(0));
        QCOMPARE(file.messages[0].fieldNumbers(), (QList<quint8>{1, 2, 0}));
        QCOMPARE(file.messages[0].field(2)->raw(), quint64(modelId));
        QCOMPARE(file.messages[1].fieldNumbers(), (QList<quint8>{1, 2, 3, 4, 0, 253}));
        QCOMPARE(file.messages[2].fieldNumbers(), sessionFields);
        QCOMPARE(file.messages[3].fieldNumbers(), (QList<quint8>{253}));
        // Nothing is ever left at an invalid value.
        for (const FitMessage &message : file.messages) {
            for (const FitField &field : message.fields)
                QVERIFY2(field.bytes != QByteArray(field.bytes.size(), char(0xFF)),
                         qPrintable(QStringLiteral("field %1 of message %2").arg(field.number).arg(message.globalNumber)));
        }
    }

    void fieldValues_data()
    {
        QTest::addColumn<int>("bike");
        QTest::addColumn<int>("globalNumber");
        QTest::addColumn<int>("field");
        QTest::addColumn<int>("baseType");
        QTest::addColumn<qint64>("value");

        struct Row
        {
            const char *name;
            int global;
            int field;
            int baseType;
            qint64 bike1;
            qint64 bike2;
        };
        const Row rows[] = {
            {"manufacturer", FileIdGlobal, 1, 0x84, 77, 77},
            {"product", FileIdGlobal, 2, 0x84, 0x23, 0x23},
            {"file type", FileIdGlobal, 0, 0x00, 4, 4},
            {"activity sessions", ActivityGlobal, 1, 0x84, 1, 1},
            {"activity type", ActivityGlobal, 2, 0x00, 2, 2},
            {"activity event", ActivityGlobal, 3, 0x00, 8, 8},
            {"activity event type", ActivityGlobal, 4, 0x00, 0, 0},
            {"activity timer time", ActivityGlobal, 0, 0x86, 3723000, 1800000},
            {"elapsed time", SessionGlobal, 7, 0x86, 3723000, 1800000},
            {"timer time", SessionGlobal, 8, 0x86, 3723000, 1800000},
            {"sport", SessionGlobal, 5, 0x00, 2, 2},
            {"session event", SessionGlobal, 0, 0x00, 26, 26},
            {"session event type", SessionGlobal, 1, 0x00, 0, 0},
            {"distance", SessionGlobal, 9, 0x86, 1234568, 500000},
            {"calories beyond 16 bits, left out", SessionGlobal, 11, 0x84, 0xFFFF, 0xFFFF},
            {"average speed", SessionGlobal, 14, 0x84, 7083, 5000},
            {"maximum speed", SessionGlobal, 15, 0x84, 14528, 10000},
            {"average heart rate", SessionGlobal, 16, 0x02, 140, 140},
            {"maximum heart rate", SessionGlobal, 17, 0x02, 185, 185},
            {"time in zone", SessionGlobal, 65, 0x86, 2730000, 2730000},
            {"ascent beyond 16 bits, left out", SessionGlobal, 22, 0x84, 0xFFFF, 120},
            {"descent", SessionGlobal, 23, 0x84, 850, 130},
            {"maximum altitude", SessionGlobal, 50, 0x84, 2500, 8670},
            {"average ascent grade", SessionGlobal, 53, 0x83, 400, 400},
            {"average descent grade", SessionGlobal, 54, 0x83, 600, 600},
            {"maximum ascent grade", SessionGlobal, 55, 0x83, 1200, 1200},
            {"maximum descent grade", SessionGlobal, 56, 0x83, 1500, 1500},
            {"maximum temperature", SessionGlobal, 58, 0x01, 23, 23},
            {"average ascent rate", SessionGlobal, 60, 0x83, 500, 500},
            {"maximum ascent rate", SessionGlobal, 62, 0x83, 1000, 1000},
            {"average descent rate", SessionGlobal, 61, 0x83, 250, 250},
            {"maximum descent rate", SessionGlobal, 63, 0x83, 1500, 1500},
            {"average cadence", SessionGlobal, 18, 0x02, 85, 70},
            {"maximum cadence beyond 8 bits, left out", SessionGlobal, 19, 0x02, 0xFF, 110},
        };
        for (const Row &row : rows) {
            QTest::addRow("bike 1: %s", row.name) << 0 << row.global << row.field << row.baseType << row.bike1;
            QTest::addRow("bike 2: %s", row.name) << 1 << row.global << row.field << row.baseType << row.bike2;
        }
    }

    void fieldValues()
    {
        QFETCH(int, bike);
        QFETCH(int, globalNumber);
        QFETCH(int, field);
        QFETCH(int, baseType);
        QFETCH(qint64, value);
        TimeZoneScope zone(Utc);
        ModelData record = sampleRecord(0x23);
        const FitFile file = exportAndRead(&record, bike, summerMorning());
        QVERIFY2(file.isValid(), qPrintable(file.error));
        const QList<FitMessage> messages = file.messagesOf(quint16(globalNumber));
        QCOMPARE(messages.size(), 1);
        const FitField *found = messages[0].field(quint8(field));
        QVERIFY(found);
        QCOMPARE(found->baseType, quint8(baseType));
        const bool isSigned = baseType == 0x01 || baseType == 0x83;
        QCOMPARE(isSigned ? found->signedRaw() : qint64(found->raw()), value);
    }

    void valuesBeyondTheirFieldsAreLeftOut()
    {
        TimeZoneScope zone(Utc);
        ModelData record = sampleRecord(0x51);
        record.bikes[0].altGain = 900;
        record.bikes[0].maxCadence = 110;
        record.bikes[0].maxSpeed = 2500; // 250.0 km/h
        record.dailyCalories = 70000;
        const QStringList lines = {"FIT field session.total_calories cannot hold 70000 kcal (left out)",
                                   "FIT field session.max_speed cannot hold 69.4444 m/s (left out)"};
        QCOMPARE(Outposter::leftOutValues(&record, 0, summerMorning()), lines);
        for (const QString &line : lines)
            QTest::ignoreMessage(QtWarningMsg, qPrintable(line));
        const FitFile file = exportAndRead(&record, 0, summerMorning());
        QVERIFY2(file.isValid(), qPrintable(file.error));
        const FitMessage session = file.messagesOf(SessionGlobal).first();
        QCOMPARE(session.field(11)->raw(), 0xFFFFu);
        QCOMPARE(session.field(15)->raw(), 0xFFFFu);
        // The values that fit are written as ever.
        QCOMPARE(session.field(14)->raw(), 7083u);
        QCOMPARE(session.field(9)->raw(), 1234568u);
        QCOMPARE(session.field(22)->raw(), 900u);
        QCOMPARE(session.field(19)->raw(), 110u);
        QCOMPARE(session.field(16)->raw(), 140u);
    }

    void limitsAreWhatTheFileHolds()
    {
        ModelData record = sampleRecord(0x51);
        const auto setAll = [&record](int beyond) {
            Bike &bike = record.bikes[0];
            record.dailyCalories = FitLimits::Calories + beyond;
            bike.avgSpeed = quint16(FitLimits::SpeedTenthsKmh + beyond);
            bike.maxSpeed = quint16(FitLimits::SpeedTenthsKmh + beyond);
            bike.altGain = FitLimits::AltitudeChange + beyond;
            bike.altLoss = FitLimits::AltitudeChange + beyond;
            bike.maxAlt = quint16(FitLimits::MaxAltitude + beyond);
            record.avgHeartRate = quint8(FitLimits::HeartRate + beyond);
            record.maxHeartRate = quint8(FitLimits::HeartRate + beyond);
            bike.avgCadence = quint16(FitLimits::Cadence + beyond);
            bike.maxCadence = quint16(FitLimits::Cadence + beyond);
            for (quint16 *grade : {&record.ascentAvgGradient, &record.ascentMaxGradient, &record.descentAvgGradient,
                                   &record.descentMaxGradient})
                *grade = quint16(FitLimits::Gradient + beyond);
            record.dailyMaxTemp = qint8(FitLimits::Temperature + beyond);
        };
        setAll(0);
        QCOMPARE(Outposter::leftOutValues(&record, 0, summerMorning()), QStringList());
        setAll(1);
        QCOMPARE(Outposter::leftOutValues(&record, 0, summerMorning()).size(), 15);
    }

    void temperatureKeepsItsSign()
    {
        ModelData record = sampleRecord(0x51);
        record.dailyMaxTemp = -12;
        const FitFile file = exportAndRead(&record, 0, summerMorning());
        QVERIFY2(file.isValid(), qPrintable(file.error));
        QCOMPARE(file.messagesOf(SessionGlobal)[0].field(58)->signedRaw(), -12);
    }

    void timestamps_data()
    {
        QTest::addColumn<QByteArray>("zone");
        QTest::addColumn<QDate>("date");
        QTest::addColumn<QTime>("time");
        QTest::addColumn<quint32>("timestamp");
        QTest::newRow("UTC") << Utc << QDate(2026, 7, 1) << QTime(10, 0) << 1151834400u;
        QTest::newRow("Central Europe, summer time") << CentralEurope << QDate(2026, 7, 1) << QTime(10, 0) << 1151827200u;
        QTest::newRow("Central Europe, winter time") << CentralEurope << QDate(2026, 1, 15) << QTime(10, 0) << 1137402000u;
        QTest::newRow("Central Europe, a clock time skipped by summer time") << CentralEurope << QDate(2026, 3, 29) << QTime(2, 30) << 1143682200u;
        QTest::newRow("the FIT epoch in UTC") << Utc << QDate(1989, 12, 31) << QTime(0, 0) << 0u;
        QTest::newRow("the FIT epoch seen in Central Europe") << CentralEurope << QDate(1989, 12, 31) << QTime(1, 0) << 0u;
        QTest::newRow("local midnight before the epoch wraps") << CentralEurope << QDate(1989, 12, 31) << QTime(0, 0) << 4294963696u;
        QTest::newRow("a ride in 1989 wraps") << Utc << QDate(1989, 6, 1) << QTime(10, 0) << 4276600096u;
    }

    void timestamps()
    {
        QFETCH(QByteArray, zone);
        QFETCH(QDate, date);
        QFETCH(QTime, time);
        QFETCH(quint32, timestamp);
        TimeZoneScope scope(zone);
        ModelData record = sampleRecord(0x23);
        const FitFile file = exportAndRead(&record, 0, QDateTime(date, time));
        QVERIFY2(file.isValid(), qPrintable(file.error));
        QCOMPARE(file.messagesOf(ActivityGlobal)[0].field(253)->raw(), quint64(timestamp));
        QCOMPARE(file.messagesOf(SessionGlobal)[0].field(253)->raw(), quint64(timestamp));
        QCOMPARE(file.messagesOf(SessionGlobal)[0].field(2)->raw(), quint64(timestamp));
        QCOMPARE(file.messagesOf(RecordGlobal)[0].field(253)->raw(), quint64(timestamp));
    }

    void timestampOfAnInstantGivenInUtc()
    {
        TimeZoneScope scope(CentralEurope);
        ModelData record = sampleRecord(0x23);
        const FitFile file = exportAndRead(&record, 0, QDateTime(QDate(2026, 7, 1), QTime(10, 0), Qt::UTC));
        QCOMPARE(file.messagesOf(RecordGlobal)[0].field(253)->raw(), quint64(1151834400u));
    }

    void refusesWhatCannotBeExported_data()
    {
        QTest::addColumn<bool>("withRecord");
        QTest::addColumn<bool>("withModel");
        QTest::addColumn<int>("bike");
        QTest::addColumn<QDateTime>("rideStart");
        QTest::newRow("no record") << false << true << 0 << summerMorning();
        QTest::newRow("no model") << true << false << 0 << summerMorning();
        QTest::newRow("bike index -1") << true << true << -1 << summerMorning();
        QTest::newRow("bike index 2") << true << true << 2 << summerMorning();
        QTest::newRow("no date-time") << true << true << 0 << QDateTime();
        QTest::newRow("no date") << true << true << 0 << QDateTime(QDate(), QTime(10, 0));
    }

    void refusesWhatCannotBeExported()
    {
        QFETCH(bool, withRecord);
        QFETCH(bool, withModel);
        QFETCH(int, bike);
        QFETCH(QDateTime, rideStart);
        ModelData record(withModel ? catalogue.value(0x23) : nullptr);
        ModelData *given = withRecord ? &record : nullptr;

        int result = 0;
        QVERIFY(exportToBytes(given, bike, rideStart, &result).isEmpty());
        QCOMPARE(result, -1);

        const QString path = folder->filePath(QStringLiteral("ride.fit"));
        QVERIFY(!Outposter::exportToFit(path, given, bike, rideStart));
        QVERIFY(QDir(folder->path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    }

    void streamThatCannotBeReadBackFails()
    {
        UnreadableStreamBuffer buffer;
        std::iostream stream(&buffer);
        ModelData record = sampleRecord(0x23);
        QCOMPARE(Outposter::exportToStream(stream, &record, 0, summerMorning()), -1);
        QCOMPARE(buffer.bytes.size(), std::size_t(240 - 2));
    }

    void fileHoldsTheStreamBytes_data()
    {
        QTest::addColumn<QString>("relativePath");
        QTest::newRow("plain name") << QStringLiteral("ride.fit");
        QTest::newRow("folder with an umlaut") << QStringLiteral("Jürgen/ride.fit");
        QTest::newRow("name beyond Latin-1") << QStringLiteral("Jürgen/Fahrt nach 東京 – Ŝtono.fit");
    }

    void fileHoldsTheStreamBytes()
    {
        QFETCH(QString, relativePath);
        const QString path = folder->filePath(relativePath);
        QVERIFY(QDir().mkpath(QFileInfo(path).path()));
        ModelData record = sampleRecord(0x61);
        QVERIFY(Outposter::exportToFit(path, &record, 1, summerMorning()));
        const QByteArray written = FileBytes::read(path);
        QCOMPARE(written, exportToBytes(&record, 1, summerMorning()));
        QVERIFY2(FitReader::read(written).isValid(), qPrintable(FitReader::read(written).error));
        // The name on disk is the name given, and nothing else was left beside it.
        QCOMPARE(QDir(QFileInfo(path).path()).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{QFileInfo(path).fileName()});
    }

    void missingFolderCreatesNothing()
    {
        ModelData record = sampleRecord(0x23);
        QVERIFY(!Outposter::exportToFit(folder->filePath(QStringLiteral("missing/ride.fit")), &record, 0, summerMorning()));
        QVERIFY(QDir(folder->path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    }

    void folderAsFileNameFails()
    {
        ModelData record = sampleRecord(0x23);
        QVERIFY(QDir(folder->path()).mkdir(QStringLiteral("ride.fit")));
        QVERIFY(!Outposter::exportToFit(folder->filePath(QStringLiteral("ride.fit")), &record, 0, summerMorning()));
        QVERIFY(QFileInfo(folder->filePath(QStringLiteral("ride.fit"))).isDir());
    }

    void existingFileIsReplacedWhole()
    {
        const QString path = folder->filePath(QStringLiteral("ride.fit"));
        QVERIFY(FileBytes::write(path, QByteArray(1000, 'x')));
        ModelData record = sampleRecord(0x11);
        QVERIFY(Outposter::exportToFit(path, &record, 0, summerMorning()));
        const QByteArray written = FileBytes::read(path);
        QCOMPARE(written.size(), 181);
        QVERIFY2(FitReader::read(written).isValid(), qPrintable(FitReader::read(written).error));
    }

    void existingFileSurvivesFailedExport_data()
    {
        QTest::addColumn<QString>("failure");
        QTest::newRow("bike index out of range") << QStringLiteral("bike");
        QTest::newRow("folder not writable") << QStringLiteral("read-only folder");
        QTest::newRow("replacing refused by the folder") << QStringLiteral("sticky folder");
        QTest::newRow("disk full half-way") << QStringLiteral("file size limit");
    }

    void existingFileSurvivesFailedExport()
    {
        QFETCH(QString, failure);
        const QString subfolder = folder->filePath(QStringLiteral("rides"));
        QVERIFY(QDir().mkpath(subfolder));
        const QString path = subfolder + QStringLiteral("/ride.fit");
        const QByteArray previousRide = QByteArray("an earlier ride that must not be lost");
        QVERIFY(FileBytes::write(path, previousRide));
        QVERIFY(QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::WriteGroup
                                                | QFile::ReadOther | QFile::WriteOther));

        int bike = 0;
        if (failure == "bike") {
            bike = 2;
        } else if (failure == "read-only folder") {
            QCOMPARE(::chmod(QFile::encodeName(subfolder).constData(), 0555), 0);
        } else {
            // In a sticky folder only the owner may replace a file; the export runs as someone else.
            if (!UnprivilegedFileAccess::runningAsRoot())
                QSKIP("needs root to give the file and the export different owners");
            QCOMPARE(::chmod(QFile::encodeName(subfolder).constData(), 01777), 0);
        }

        ModelData record = sampleRecord(0x23);
        bool exported = true;
        {
            // Files may grow to 150 bytes only: the ride's 240 bytes stop half-way, as on a full disk.
            std::optional<FileSizeLimit> sizeLimit;
            if (failure == "file size limit")
                sizeLimit.emplace(150);
            UnprivilegedFileAccess access;
            if (!access.isEffective())
                QSKIP("the file system identity cannot be changed here");
            exported = Outposter::exportToFit(path, &record, bike, summerMorning());
        }
        QCOMPARE(::chmod(QFile::encodeName(subfolder).constData(), 0755), 0);
        QVERIFY(!exported);
        QCOMPARE(FileBytes::read(path), previousRide);
        QCOMPARE(QDir(subfolder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot),
                 QStringList{QStringLiteral("ride.fit")});
    }
};

QTEST_GUILESS_MAIN(tst_Outposter)
#include "tst_outposter.moc"
