// SPDX-License-Identifier: GPL-3.0-or-later
#include "FitReader.h"
#include "UnreadableStreamBuffer.h"

#include "outpost/fit/ActivityMesg.h"
#include "outpost/fit/BaseType.h"
#include "outpost/fit/Crc.h"
#include "outpost/fit/Encode.h"
#include "outpost/fit/LapMesg.h"
#include "outpost/fit/Mesg.h"
#include "outpost/fit/MesgLayout.h"
#include "outpost/fit/ProfileTable.h"
#include "outpost/fit/RuntimeException.h"
#include "outpost/fit/SessionMesg.h"

#include <QTest>

#include <functional>
#include <limits>
#include <memory>
#include <sstream>

using namespace fit;

namespace {

struct Encoded
{
    QByteArray bytes;
    bool closed = false;
};

Encoded encodeWith(const std::function<void(Encode &)> &body)
{
    std::stringstream stream(std::ios::in | std::ios::out | std::ios::binary);
    Encode encode;
    encode.open(stream);
    body(encode);
    Encoded result;
    result.closed = encode.close();
    result.bytes = QByteArray::fromStdString(stream.str());
    return result;
}

SessionMesg sessionWith(std::uint32_t timestamp, std::uint16_t calories)
{
    SessionMesg session;
    session.setTimestamp(timestamp);
    session.setFieldUInt16(SessionField::TotalCalories, calories);
    return session;
}

std::unique_ptr<Mesg> eventMesg(int profileIndex)
{
    switch (profileIndex) {
    case ProfileTable::ActivityIndex:
        return std::make_unique<ActivityMesg>();
    case ProfileTable::SessionIndex:
        return std::make_unique<SessionMesg>();
    default:
        return std::make_unique<LapMesg>();
    }
}

} // namespace

class tst_FitEncoder : public QObject
{
    Q_OBJECT

private slots:
    void crc_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("check string") << QByteArray("123456789");
        QTest::newRow("empty") << QByteArray();
        QByteArray everyByte;
        for (int i = 0; i < 256; ++i)
            everyByte.append(char(i));
        QTest::newRow("every byte value") << everyByte;
        QTest::newRow("header") << QByteArray::fromHex("0e10200300000000") + QByteArray(".FIT");
    }

    void crc()
    {
        QFETCH(QByteArray, bytes);
        QCOMPARE(Crc::calc16(bytes.constData(), std::size_t(bytes.size())), FitReader::crc(bytes));
    }

    void crcOfCheckString()
    {
        QCOMPARE(Crc::calc16("123456789", 9), std::uint16_t(0xBB3D));
        std::uint16_t running = 0;
        for (char c : QByteArray("123456789"))
            running = Crc::get16(running, std::uint8_t(c));
        QCOMPARE(running, std::uint16_t(0xBB3D));
    }

    void openThenCloseIsSixteenBytes()
    {
        const Encoded file = encodeWith([](Encode &) {});
        QVERIFY(file.closed);
        QCOMPARE(file.bytes.size(), 16);
        QByteArray header = QByteArray::fromHex("0e10200300000000") + QByteArray(".FIT");
        const quint16 headerCrc = FitReader::crc(header);
        header.append(char(headerCrc & 0xFF)).append(char(headerCrc >> 8));
        QCOMPARE(file.bytes.left(14), header);
        const quint16 fileCrc = FitReader::crc(header);
        QCOMPARE(quint8(file.bytes.at(14)), quint8(fileCrc & 0xFF));
        QCOMPARE(quint8(file.bytes.at(15)), quint8(fileCrc >> 8));
        const FitFile read = FitReader::read(file.bytes);
        QVERIFY2(read.isValid(), qPrintable(read.error));
        QCOMPARE(read.dataSize, 0u);
        QCOMPARE(read.sequence, QString());
    }

    void headerIsWrittenAtOpenAndRewrittenAtClose()
    {
        std::stringstream stream(std::ios::in | std::ios::out | std::ios::binary);
        Encode encode;
        encode.open(stream);
        encode.write(sessionWith(1, 2));
        const QByteArray beforeClose = QByteArray::fromStdString(stream.str());
        QCOMPARE(beforeClose.mid(4, 4), QByteArray::fromHex("00000000"));
        QCOMPARE(encode.dataSize(), std::uint32_t(beforeClose.size() - 14));
        QVERIFY(encode.close());
        const QByteArray file = QByteArray::fromStdString(stream.str());
        const FitFile read = FitReader::read(file);
        QVERIFY2(read.isValid(), qPrintable(read.error));
        QCOMPARE(read.dataSize, quint32(beforeClose.size() - 14));
        QCOMPARE(file.mid(14, beforeClose.size() - 14), beforeClose.mid(14));
    }

    void nothingWithoutOpen()
    {
        std::stringstream stream(std::ios::in | std::ios::out | std::ios::binary);
        Encode encode;
        encode.write(sessionWith(1, 2));
        encode.write(MesgLayout(18, 0, {{SessionField::Timestamp, 4, BaseType::UInt32}}));
        QVERIFY(!encode.close());
        QCOMPARE(encode.dataSize(), 0u);
        QVERIFY(stream.str().empty());
    }

    void secondCloseChangesNothing()
    {
        std::stringstream stream(std::ios::in | std::ios::out | std::ios::binary);
        Encode encode;
        encode.open(stream);
        encode.write(sessionWith(1, 2));
        QVERIFY(encode.close());
        const std::string once = stream.str();
        QVERIFY(!encode.close());
        encode.write(sessionWith(3, 4));
        QCOMPARE(stream.str(), once);
    }

    void closeFailsWhenBytesCannotBeReadBack()
    {
        UnreadableStreamBuffer buffer;
        std::iostream stream(&buffer);
        Encode encode;
        encode.open(stream);
        encode.write(sessionWith(1, 2));
        QVERIFY(!encode.close());
        // Header and messages are there, the CRC is not.
        QCOMPARE(buffer.bytes.size(), std::size_t(14 + encode.dataSize()));
        const QByteArray bytes = QByteArray::fromStdString(buffer.bytes);
        QCOMPARE(quint32(bytes.at(4)) | quint32(quint8(bytes.at(5))) << 8, encode.dataSize());
    }

    void definitionReuse_data()
    {
        QTest::addColumn<QString>("variant");
        QTest::addColumn<QString>("sequence");
        QTest::newRow("same type, same fields") << "same" << "DMM";
        QTest::newRow("another type on the same local number") << "other type" << "DMDM";
        QTest::newRow("an extra field") << "extra field" << "DMDM";
        QTest::newRow("a wider field") << "wider" << "DMDM";
        QTest::newRow("fewer fields") << "fewer" << "DMM";
        QTest::newRow("same type, another local number") << "other local" << "DMDM";
        QTest::newRow("back to the first type") << "back" << "DMDMDM";
    }

    void definitionReuse()
    {
        QFETCH(QString, variant);
        QFETCH(QString, sequence);
        const Encoded file = encodeWith([&](Encode &encode) {
            encode.write(sessionWith(1, 2));
            if (variant == "same") {
                encode.write(sessionWith(3, 4));
            } else if (variant == "other type" || variant == "back") {
                ActivityMesg activity;
                activity.setTimestamp(5);
                encode.write(activity);
                if (variant == "back")
                    encode.write(sessionWith(3, 4));
            } else if (variant == "extra field") {
                SessionMesg session = sessionWith(3, 4);
                session.setFieldUInt8(SessionField::AvgHeartRate, 120);
                encode.write(session);
            } else if (variant == "wider") {
                SessionMesg session;
                session.setTimestamp(3);
                session.setFieldUInt32(SessionField::TotalCalories, 4);
                encode.write(session);
            } else if (variant == "fewer") {
                SessionMesg session;
                session.setTimestamp(3);
                encode.write(session);
            } else if (variant == "other local") {
                SessionMesg session = sessionWith(3, 4);
                session.setLocalNumber(1);
                encode.write(session);
            }
        });
        QVERIFY(file.closed);
        const FitFile read = FitReader::read(file.bytes);
        QVERIFY2(read.isValid(), qPrintable(read.error));
        QCOMPARE(read.sequence, sequence);
        QCOMPARE(qsizetype(read.dataSize), file.bytes.size() - 16);
    }

    void reusedLayoutPadsMissingFields()
    {
        const Encoded file = encodeWith([](Encode &encode) {
            encode.write(sessionWith(1, 2));
            SessionMesg session;
            session.setTimestamp(3);
            encode.write(session);
        });
        const FitFile read = FitReader::read(file.bytes);
        QVERIFY2(read.isValid(), qPrintable(read.error));
        QCOMPARE(read.messages.size(), 2);
        QCOMPARE(read.messages[1].field(SessionField::Timestamp)->raw(), 3u);
        QCOMPARE(read.messages[1].field(SessionField::TotalCalories)->bytes, QByteArray::fromHex("ffff"));
    }

    void paddingContinuesInsideTheInvalidValue()
    {
        // A one-byte value in a field announced as two sint16 elements: the padding starts at
        // the second byte of 0x7FFF and wraps around.
        const Encoded file = encodeWith([](Encode &encode) {
            encode.write(MesgLayout(18, 0, {{SessionField::AvgPosGrade, 4, BaseType::SInt16}}));
            SessionMesg session;
            session.setFieldUInt8(SessionField::AvgPosGrade, 0x12);
            encode.write(session);
        });
        const FitFile read = FitReader::read(file.bytes);
        QVERIFY2(read.isValid(), qPrintable(read.error));
        QCOMPARE(read.sequence, QStringLiteral("DM"));
        QCOMPARE(read.messages[0].field(SessionField::AvgPosGrade)->bytes, QByteArray::fromHex("127fff7f"));
    }

    void unsupportedBaseTypeWritesNoDataMessage()
    {
        // The announced layout serves the message, but its missing time stamp cannot be padded.
        const Encoded file = encodeWith([](Encode &encode) {
            encode.write(MesgLayout(18, 0, {{SessionField::Timestamp, 4, 0x1E}, {SessionField::TotalCalories, 2, BaseType::UInt16}}));
            SessionMesg session;
            session.setFieldUInt16(SessionField::TotalCalories, 1);
            encode.write(session);
        });
        QVERIFY(file.closed);
        const FitFile read = FitReader::read(file.bytes);
        QVERIFY2(read.isValid(), qPrintable(read.error));
        QCOMPARE(read.sequence, QStringLiteral("D"));
        QCOMPARE(read.dataSize, quint32(12));
    }

    void sameFieldSetTwice()
    {
        SessionMesg session;
        session.setTimestamp(1);
        session.setFieldUInt16(SessionField::TotalCalories, 2);
        session.setTimestamp(3);
        QCOMPARE(session.fields().size(), std::size_t(2));
        QCOMPARE(session.fields()[0].number(), FieldNum(SessionField::Timestamp));
        QCOMPARE(session.getTimestamp(), 3u);

        const Encoded file = encodeWith([&](Encode &encode) { encode.write(session); });
        const FitFile read = FitReader::read(file.bytes);
        QVERIFY2(read.isValid(), qPrintable(read.error));
        QCOMPARE(read.messages[0].fieldNumbers(), (QList<quint8>{253, 11}));
        QCOMPARE(read.messages[0].field(253)->raw(), 3u);
    }

    void realValues_data()
    {
        QTest::addColumn<int>("profileIndex");
        QTest::addColumn<int>("field");
        QTest::addColumn<float>("value");
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<QString>("warning"); // the diagnostic of a value left out, or empty

        const int session = ProfileTable::SessionIndex;
        QTest::newRow("5.5 m/s, scale 1000") << session << int(SessionField::AvgSpeed) << 5.5f << QByteArray::fromHex("7c15") << QString();
        QTest::newRow("250 m, scale 5, offset 500") << session << int(SessionField::MaxAltitude) << 250.0f << QByteArray::fromHex("a60e") << QString();
        QTest::newRow("0 m, scale 5, offset 500") << session << int(SessionField::MaxAltitude) << 0.0f << QByteArray::fromHex("c409") << QString();
        QTest::newRow("70000 is left out of uint16") << session << int(SessionField::TotalCalories) << 70000.0f << QByteArray::fromHex("ffff")
                                                     << "FIT field session.total_calories cannot hold 70000 kcal (left out)";
        QTest::newRow("250 km/h is left out of uint16 mm/s") << session << int(SessionField::MaxSpeed) << float(250 / 3.6)
                                                             << QByteArray::fromHex("ffff")
                                                             << "FIT field session.max_speed cannot hold 69.4444 m/s (left out)";
        QTest::newRow("-1 is left out of uint8") << session << int(SessionField::AvgHeartRate) << -1.0f << QByteArray::fromHex("ff")
                                                 << "FIT field session.avg_heart_rate cannot hold -1 bpm (left out)";
        QTest::newRow("largest uint16 below the invalid value") << session << int(SessionField::TotalCalories) << 65534.0f
                                                                << QByteArray::fromHex("feff") << QString();
        QTest::newRow("-1.25 into sint16, scale 100") << session << int(SessionField::AvgPosGrade) << -1.25f << QByteArray::fromHex("83ff") << QString();
        QTest::newRow("2.5 rounds up") << session << int(SessionField::AvgHeartRate) << 2.5f << QByteArray::fromHex("03") << QString();
        QTest::newRow("2.4 rounds down") << session << int(SessionField::AvgHeartRate) << 2.4f << QByteArray::fromHex("02") << QString();
        QTest::newRow("-2.5 rounds away from zero") << session << int(SessionField::MaxTemperature) << -2.5f << QByteArray::fromHex("fd") << QString();
        QTest::newRow("-0.4 rounds to zero") << session << int(SessionField::MaxTemperature) << -0.4f << QByteArray::fromHex("00") << QString();
        QTest::newRow("3723 s, scale 1000") << session << int(SessionField::TotalTimerTime) << 3723.0f << QByteArray::fromHex("f8ce3800") << QString();
        QTest::newRow("beyond uint32 is left out") << session << int(SessionField::TotalDistance) << 5e7f << QByteArray::fromHex("ffffffff")
                                                   << "FIT field session.total_distance cannot hold 5e+07 m (left out)";
        QTest::newRow("far beyond 64 bits is left out") << session << int(SessionField::TotalCalories) << 1e20f << QByteArray::fromHex("ffff")
                                                       << "FIT field session.total_calories cannot hold 1e+20 kcal (left out)";
        QTest::newRow("not a number is invalid") << session << int(SessionField::AvgPosGrade)
                                                 << std::numeric_limits<float>::quiet_NaN() << QByteArray::fromHex("ff7f") << QString();
        QTest::newRow("activity timer, scale 1000") << int(ProfileTable::ActivityIndex) << int(ActivityField::TotalTimerTime)
                                                    << 1.5f << QByteArray::fromHex("dc050000") << QString();
    }

    void realValues()
    {
        QFETCH(int, profileIndex);
        QFETCH(int, field);
        QFETCH(float, value);
        QFETCH(QByteArray, stored);
        QFETCH(QString, warning);
        Mesg mesg(profileIndex);
        QVERIFY(mesg.setFieldReal(FieldNum(field), value));
        QCOMPARE(mesg.leftOut().size(), std::size_t(warning.isEmpty() ? 0 : 1));
        if (!warning.isEmpty())
            QTest::ignoreMessage(QtWarningMsg, qPrintable(warning));
        const Encoded file = encodeWith([&](Encode &encode) { encode.write(mesg); });
        const FitFile read = FitReader::read(file.bytes);
        QVERIFY2(read.isValid(), qPrintable(read.error));
        QCOMPARE(read.messages.size(), 1);
        QCOMPARE(read.messages[0].field(quint8(field))->bytes, stored);
    }

    void integerSetters_data()
    {
        QTest::addColumn<QString>("setter");
        QTest::addColumn<int>("field");
        QTest::addColumn<qint64>("value");
        QTest::addColumn<QByteArray>("stored");
        QTest::addColumn<int>("baseType");
        QTest::newRow("enum") << "enum" << int(SessionField::Sport) << qint64(2) << QByteArray::fromHex("02") << int(BaseType::Enum);
        QTest::newRow("sint8") << "sint8" << int(SessionField::MaxTemperature) << qint64(-5) << QByteArray::fromHex("fb") << int(BaseType::SInt8);
        QTest::newRow("uint8") << "uint8" << int(SessionField::AvgCadence) << qint64(0x1A5) << QByteArray::fromHex("a5") << int(BaseType::UInt8);
        QTest::newRow("uint16") << "uint16" << int(SessionField::TotalCalories) << qint64(0x12345) << QByteArray::fromHex("4523") << int(BaseType::UInt16);
        QTest::newRow("uint32") << "uint32" << int(SessionField::StartTime) << qint64(0xA1B2C3D4) << QByteArray::fromHex("d4c3b2a1") << int(BaseType::UInt32);
    }

    void integerSetters()
    {
        QFETCH(QString, setter);
        QFETCH(int, field);
        QFETCH(qint64, value);
        QFETCH(QByteArray, stored);
        QFETCH(int, baseType);
        SessionMesg session;
        const FieldNum number = FieldNum(field);
        bool set = false;
        if (setter == "enum")
            set = session.setFieldEnum(number, std::uint8_t(value));
        else if (setter == "sint8")
            set = session.setFieldSInt8(number, std::int8_t(value));
        else if (setter == "uint8")
            set = session.setFieldUInt8(number, std::uint8_t(value));
        else if (setter == "uint16")
            set = session.setFieldUInt16(number, std::uint16_t(value));
        else
            set = session.setFieldUInt32(number, std::uint32_t(value));
        QVERIFY(set);
        const Encoded file = encodeWith([&](Encode &encode) { encode.write(session); });
        const FitFile read = FitReader::read(file.bytes);
        QVERIFY2(read.isValid(), qPrintable(read.error));
        QCOMPARE(read.definitions[0].fields[0].baseType, quint8(baseType));
        QCOMPARE(read.definitions[0].fields[0].size, quint8(stored.size()));
        QCOMPARE(read.messages[0].field(quint8(field))->bytes, stored);
    }

    void arrayElementsPadEarlierOnes()
    {
        SessionMesg session;
        QVERIFY(session.setFieldReal(SessionField::TimeInHrZone, 10.0f, 1));
        const Encoded file = encodeWith([&](Encode &encode) { encode.write(session); });
        const FitFile read = FitReader::read(file.bytes);
        QVERIFY2(read.isValid(), qPrintable(read.error));
        QCOMPARE(read.definitions[0].fields[0].size, quint8(8));
        QCOMPARE(read.messages[0].field(SessionField::TimeInHrZone)->bytes, QByteArray::fromHex("ffffffff10270000"));
    }

    void fieldsStayWithinOneByteOfSize()
    {
        SessionMesg session;
        QVERIFY(session.setFieldUInt32(SessionField::TimeInHrZone, 1, 62)); // 63 elements, 252 bytes
        QVERIFY(!session.setFieldUInt32(SessionField::TimeInHrZone, 1, 63));
        QVERIFY(!session.setFieldUInt32(SessionField::StartTime, 1, std::numeric_limits<std::size_t>::max()));
        QCOMPARE(session.field(SessionField::TimeInHrZone)->size(), std::size_t(252));
        QVERIFY(!session.field(SessionField::StartTime));
    }

    void unknownFieldIsRefused()
    {
        SessionMesg session;
        QTest::ignoreMessage(QtWarningMsg, "FIT message session has no field 200");
        QVERIFY(!session.setFieldUInt8(200, 1));
        QTest::ignoreMessage(QtWarningMsg, "FIT message session has no field 201");
        QVERIFY(!session.setFieldReal(201, 1.0f));
        QVERIFY(session.fields().empty());
    }

    void unknownProfileIndexThrows()
    {
        QVERIFY_THROWS_EXCEPTION(RuntimeException, Mesg(24));
        QVERIFY_THROWS_EXCEPTION(RuntimeException, Mesg(-1));
        const Mesg fileId(ProfileTable::FileIdIndex);
        QCOMPARE(QByteArray(fileId.name()), QByteArray("file_id"));
        QCOMPARE(fileId.globalNumber(), std::uint16_t(0));
    }

    void localNumber()
    {
        Mesg record(ProfileTable::RecordIndex);
        record.setLocalNumber(3);
        record.setLocalNumber(16);
        QCOMPARE(record.localNumber(), std::uint8_t(3));
        record.setFieldUInt32(RecordField::Timestamp, 9);
        const Encoded file = encodeWith([&](Encode &encode) { encode.write(record); });
        QCOMPARE(quint8(file.bytes.at(14)), quint8(0x43));
        QCOMPARE(quint8(file.bytes.at(14 + 9)), quint8(0x03));
        const FitFile read = FitReader::read(file.bytes);
        QVERIFY2(read.isValid(), qPrintable(read.error));
        QCOMPARE(read.messages[0].localNumber, quint8(3));
        QCOMPARE(read.messages[0].globalNumber, quint16(20));
    }

    void definitionBytes()
    {
        const std::vector<std::uint8_t> bytes = MesgLayout::of(sessionWith(1, 2)).definitionBytes();
        QCOMPARE(QByteArray(reinterpret_cast<const char *>(bytes.data()), qsizetype(bytes.size())),
                 QByteArray::fromHex("400000120002fd04860b0284"));
    }

    void eventFields_data()
    {
        QTest::addColumn<int>("profileIndex");
        QTest::addColumn<int>("globalNumber");
        QTest::addColumn<int>("eventField");
        QTest::addColumn<int>("eventTypeField");
        QTest::addColumn<int>("eventGroupField");
        QTest::newRow("activity") << int(ProfileTable::ActivityIndex) << 34 << 3 << 4 << 6;
        QTest::newRow("session") << int(ProfileTable::SessionIndex) << 18 << 0 << 1 << 27;
        QTest::newRow("lap") << int(ProfileTable::LapIndex) << 19 << 0 << 1 << 26;
    }

    void eventFields()
    {
        QFETCH(int, profileIndex);
        QFETCH(int, globalNumber);
        QFETCH(int, eventField);
        QFETCH(int, eventTypeField);
        QFETCH(int, eventGroupField);
        std::unique_ptr<Mesg> mesg = eventMesg(profileIndex);
        auto *withEvent = dynamic_cast<MesgWithEvent *>(mesg.get());
        QVERIFY(withEvent);
        QCOMPARE(withEvent->getTimestamp(), 0xFFFFFFFFu);
        QCOMPARE(withEvent->getEvent(), std::uint8_t(0xFF));
        QCOMPARE(withEvent->getEventGroup(), std::uint8_t(0xFF));
        withEvent->setEventGroup(7);
        withEvent->setEventType(1);
        withEvent->setEvent(9);
        withEvent->setTimestamp(0x01020304);
        QCOMPARE(withEvent->getTimestamp(), 0x01020304u);
        QCOMPARE(withEvent->getEvent(), std::uint8_t(9));
        QCOMPARE(withEvent->getEventType(), std::uint8_t(1));
        QCOMPARE(withEvent->getEventGroup(), std::uint8_t(7));

        const Encoded file = encodeWith([&](Encode &encode) { encode.write(*mesg); });
        const FitFile read = FitReader::read(file.bytes);
        QVERIFY2(read.isValid(), qPrintable(read.error));
        QCOMPARE(read.messages[0].globalNumber, quint16(globalNumber));
        QCOMPARE(read.messages[0].fieldNumbers(),
                 (QList<quint8>{quint8(eventGroupField), quint8(eventTypeField), quint8(eventField), 253}));
        QCOMPARE(read.messages[0].field(quint8(eventField))->raw(), 9u);
        QCOMPARE(read.messages[0].field(quint8(eventTypeField))->raw(), 1u);
        QCOMPARE(read.messages[0].field(quint8(eventGroupField))->raw(), 7u);
        QCOMPARE(read.messages[0].field(253)->raw(), 0x01020304u);
    }

    void encoderListensForMessagesAndDefinitions()
    {
        const Encoded file = encodeWith([](Encode &encode) {
            MesgDefinitionListener &definitions = encode;
            MesgListener &messages = encode;
            definitions.onMesgDefinition(MesgLayout(20, 0, {{RecordField::Timestamp, 4, BaseType::UInt32}}));
            Mesg record(ProfileTable::RecordIndex);
            record.setFieldUInt32(RecordField::Timestamp, 42);
            messages.onMesg(record);
        });
        const FitFile read = FitReader::read(file.bytes);
        QVERIFY2(read.isValid(), qPrintable(read.error));
        QCOMPARE(read.sequence, QStringLiteral("DM"));
        QCOMPARE(read.messages[0].field(253)->raw(), 42u);
    }
};

QTEST_APPLESS_MAIN(tst_FitEncoder)
#include "tst_fitencoder.moc"
