// SPDX-License-Identifier: GPL-3.0-or-later
#include "FitReader.h"

#include <QTest>

// The reader checks what the encoder writes, so it is checked itself on hand-made files first.
class tst_FitReader : public QObject
{
    Q_OBJECT

private:
    static QByteArray le(quint64 value, int size)
    {
        QByteArray bytes;
        for (int i = 0; i < size; ++i)
            bytes.append(char(value >> (8 * i)));
        return bytes;
    }

    // A record message (global 20) with one uint32 time stamp, preceded by its definition.
    static QByteArray recordMessages(quint32 timestamp)
    {
        QByteArray data = QByteArray::fromHex("400000140001fd0486");
        data += QByteArray::fromHex("00") + le(timestamp, 4);
        return data;
    }

    static QByteArray wrap(const QByteArray &data)
    {
        QByteArray file = QByteArray::fromHex("0e102003") + le(quint64(data.size()), 4) + QByteArray(".FIT");
        file += le(FitReader::crc(file), 2);
        file += data;
        file += le(FitReader::crc(file), 2);
        return file;
    }

private slots:
    void crcOfKnownTexts_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<int>("crc");
        QTest::newRow("check string") << QByteArray("123456789") << 0xBB3D;
        QTest::newRow("empty") << QByteArray() << 0x0000;
    }

    void crcOfKnownTexts()
    {
        QFETCH(QByteArray, text);
        QFETCH(int, crc);
        QCOMPARE(FitReader::crc(text), quint16(crc));
    }

    void readsHandMadeFile()
    {
        const FitFile file = FitReader::read(wrap(recordMessages(0x01020304)));
        QVERIFY2(file.isValid(), qPrintable(file.error));
        QCOMPARE(file.headerSize, quint8(14));
        QCOMPARE(file.protocolVersion, quint8(0x10));
        QCOMPARE(file.profileVersion, quint16(800));
        QCOMPARE(file.dataSize, 14u);
        QCOMPARE(file.sequence, QStringLiteral("DM"));
        QCOMPARE(file.definitions.size(), 1);
        QCOMPARE(file.definitions[0].globalNumber, quint16(20));
        QCOMPARE(file.messages.size(), 1);
        const FitField *timestamp = file.messages[0].field(253);
        QVERIFY(timestamp);
        QCOMPARE(timestamp->baseType, quint8(0x86));
        QCOMPARE(timestamp->raw(), 0x01020304u);
    }

    void signedValuesKeepTheirWidth()
    {
        QCOMPARE((FitField{0, 0x83, QByteArray::fromHex("83ff")}.signedRaw()), -125);
        QCOMPARE((FitField{0, 0x01, QByteArray::fromHex("fd")}.signedRaw()), -3);
        QCOMPARE((FitField{0, 0x84, QByteArray::fromHex("83ff")}.raw()), 0xFF83u);
    }

    void rejectsDamagedFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("error");
        const QByteArray good = wrap(recordMessages(7));

        QByteArray headerCrc = good;
        headerCrc[12] = char(headerCrc[12] ^ 0x01);
        QTest::newRow("header CRC") << headerCrc << "header CRC mismatch";

        QByteArray fileCrc = good;
        fileCrc[good.size() - 1] = char(fileCrc[good.size() - 1] ^ 0x01);
        QTest::newRow("file CRC") << fileCrc << "file CRC mismatch";

        QByteArray payload = good;
        payload[20] = char(payload[20] ^ 0x40);
        QTest::newRow("changed data byte") << payload << "file CRC mismatch";

        QTest::newRow("missing CRC") << good.left(good.size() - 2) << "length 28 does not match data size 14";

        QByteArray signature = good;
        signature[9] = 'X';
        QTest::newRow("signature") << signature << "no .FIT signature";

        QTest::newRow("data before definition") << wrap(QByteArray::fromHex("0001020304")) << "data message without definition at 14";
        QTest::newRow("compressed header") << wrap(QByteArray::fromHex("80")) << "compressed time stamp header at 14";
        QTest::newRow("short data message")
            << wrap(QByteArray::fromHex("400000140001fd04860001")) << "data message cut off at 24";
        QTest::newRow("too short") << QByteArray::fromHex("0e10") << "shorter than a header";
    }

    void rejectsDamagedFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, error);
        QCOMPARE(FitReader::read(bytes).error, error);
    }
};

QTEST_APPLESS_MAIN(tst_FitReader)
#include "tst_fitreader.moc"
