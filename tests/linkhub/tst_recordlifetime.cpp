// SPDX-License-Identifier: GPL-3.0-or-later
#include "RawLine.h"

#include "linkhub/ComConnection.h"
#include "tools/simulator/FrameCodec.h"
#include "tools/simulator/PseudoTerminal.h"

#include <QTest>

#include <thread>

// Records that the link replaces stay readable for every receiver that was handed them through
// queued delivery. Run under AddressSanitizer to see a record read after it was freed.
class tst_RecordLifetime : public QObject
{
    Q_OBJECT

    struct Seen
    {
        int bits;
        int modelId;
        int hour;
    };

    /// A receiver on this thread, as velotool's and the wizard's are, that reads every record it is handed.
    static void readEveryRecord(ComConnection &connection, QObject &context, QList<Seen> &seen)
    {
        QObject::connect(&connection, &ComConnection::modelDataUpdate, &context,
                         [&seen](ModelData *data, int bits) {
                             seen.append({bits, data->deviceModel->id, data->hour});
                         },
                         Qt::QueuedConnection);
    }

private slots:
    // A device that answers the identification twice: both answers are dispatched before the
    // receiver is served, and the first record must still be there when it is.
    void secondIdentificationKeepsTheFirstRecordForQueuedReceivers()
    {
        ComConnection connection;
        QObject context;
        QList<Seen> seen;
        readEveryRecord(connection, context, seen);
        PseudoTerminal line;
        QVERIFY(line.open());
        connection.open(line.portName());
        QCOMPARE(readFromLink(line, 5).size(), 5); // ReadDeviceId

        const QByteArray answer = FrameCodec::encode(DeviceIdData, QByteArray(1, char(0x11)));
        for (char byte : answer + answer)
            QVERIFY(line.writeByte(byte));
        // Keep this thread busy while both answers arrive, so that they wait to be dispatched together.
        std::this_thread::sleep_for(std::chrono::milliseconds(500));

        QTRY_COMPARE_WITH_TIMEOUT(seen.size(), 2, 10000);
        QCOMPARE(seen.at(0).bits, int(IdentityUpdate));
        QCOMPARE(seen.at(0).modelId, 0x11);
        QCOMPARE(seen.at(1).modelId, 0x11);
        connection.hardClose(NoError);
    }

    // Two writes in a row: the record adopted by the first is replaced by the second before any
    // receiver has seen it.
    void adoptedRecordOutlivesItsAnnouncement()
    {
        ComConnection connection;
        QObject context;
        QList<Seen> seen;
        readEveryRecord(connection, context, seen);
        PseudoTerminal line;
        QVERIFY(openQuietSession(connection, line, 0x23));

        ModelData data(connection.getCatalogue().value(0x23));
        data.hour = 7;
        connection.sendModelData(&data, DateTimeUpdate);
        data.hour = 8;
        connection.sendModelData(&data, DateTimeUpdate);

        QTRY_COMPARE_WITH_TIMEOUT(seen.size(), 2, 10000);
        QCOMPARE(seen.at(0).hour, 7);
        QCOMPARE(seen.at(1).hour, 8);
        QCOMPARE(connection.getData()->hour, quint8(8));
        connection.hardClose(NoError);
    }
};

QTEST_GUILESS_MAIN(tst_RecordLifetime)
#include "tst_recordlifetime.moc"
