// SPDX-License-Identifier: GPL-3.0-or-later
#include "linkhub/ComConnection.h"
#include "support/Frames.h"

#include <QSignalSpy>
#include <QTest>

using ByteChunks = QList<QByteArray>;

// The receiver is driven byte by byte through the connection, as the poll thread does; a
// Lumo 20 identification frame is the probe: when it gets through, the link reports Connected.
class tst_PacketReceiver : public QObject
{
    Q_OBJECT

private slots:
    void checksum_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("sum");
        QTest::newRow("empty") << QByteArray() << 0;
        QTest::newRow("request") << QByteArray::fromHex("4100") << 0x41;
        QTest::newRow("wraps") << QByteArray::fromHex("ff0203") << 0x04;
    }

    void checksum()
    {
        QFETCH(QByteArray, bytes);
        QTEST(int(static_cast<unsigned char>(ComConnection::calculateChecksum(bytes))), "sum");
    }

    void receive_data()
    {
        QTest::addColumn<ByteChunks>("chunks");
        QTest::addColumn<QStringList>("criticals");
        QTest::addColumn<int>("identifiedAs");

        const QByteArray lumo20 = Frames::frame(0x92, QByteArray(1, 0x21));
        QTest::newRow("one read") << ByteChunks{lumo20} << QStringList() << 0x21;
        QTest::newRow("split reads") << ByteChunks{lumo20.left(1), lumo20.mid(1, 2), lumo20.mid(3, 2), lumo20.mid(5)}
                                     << QStringList() << 0x21;
        QTest::newRow("noise before a frame")
            << ByteChunks{QByteArray::fromHex("0013"), lumo20}
            << QStringList{"Wrong start byte.", "Wrong start byte."} << 0x21;
        QTest::newRow("FF FF 55")
            << ByteChunks{QByteArray(1, char(0xFF)), lumo20}
            << QStringList{"Connection error: Data while no package."} << 0x21;
        QTest::newRow("other bytes between FF and 55")
            << ByteChunks{QByteArray::fromHex("ff0102") + lumo20.mid(1)}
            << QStringList{"Connection error: Data while no package.", "Connection error: Data while no package."}
            << 0x21;
        QTest::newRow("payload holding FF 55")
            << ByteChunks{QByteArray::fromHex("ff559203" "21ff55" "0a")} << QStringList() << 0x21;
        QTest::newRow("wrong checksum, then 55 is no start")
            << ByteChunks{QByteArray::fromHex("ff55920121" "00" "55"), lumo20}
            << QStringList{"ConnectionError: Wrong checksum.  \"92\"", "Wrong start byte."} << 0x21;
        QTest::newRow("wrong checksum only") << ByteChunks{QByteArray::fromHex("ff55920121b5")}
                                             << QStringList{"ConnectionError: Wrong checksum.  \"92\""} << 0;
        QTest::newRow("zero-length payload reaches the dispatcher")
            << ByteChunks{QByteArray::fromHex("ff55120012")}
            << QStringList{"Answer while not connected:  \"12\""} << 0;
    }

    void receive()
    {
        QFETCH(ByteChunks, chunks);
        QFETCH(QStringList, criticals);
        QFETCH(int, identifiedAs);

        ComConnection connection;
        QSignalSpy updates(&connection, &ComConnection::modelDataUpdate);
        for (const QString &line : criticals)
            QTest::ignoreMessage(QtCriticalMsg, qPrintable(line));
        for (const QByteArray &chunk : chunks) {
            for (char byte : chunk)
                connection.handleByte(static_cast<unsigned char>(byte));
        }
        if (identifiedAs == 0) {
            QCOMPARE(updates.count(), 0);
            QCOMPARE(connection.getConnectionState(), Closed);
        } else {
            QCOMPARE(updates.count(), 1);
            QCOMPARE(updates.at(0).at(1).toInt(), int(IdentityUpdate));
            QCOMPARE(int(connection.getData()->deviceModel->id), identifiedAs);
            QCOMPARE(connection.getConnectionState(), Connected);
        }
    }

    void twoFramesInOneRead()
    {
        ComConnection connection;
        QSignalSpy updates(&connection, &ComConnection::modelDataUpdate);
        const QByteArray bytes = Frames::frame(0x92, QByteArray(1, 0x21)) + Frames::frame(0xA1, QByteArray(1, 1));
        for (char byte : bytes)
            connection.handleByte(static_cast<unsigned char>(byte));
        QCOMPARE(updates.count(), 2);
        QCOMPARE(updates.at(1).at(1).toInt(), int(CurrentBikeUpdate));
        QCOMPARE(connection.getData()->currentBike, 1);
    }
};

QTEST_GUILESS_MAIN(tst_PacketReceiver)
#include "tst_packetreceiver.moc"
