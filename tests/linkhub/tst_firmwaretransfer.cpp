// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinkRecorder.h"
#include "RawLine.h"
#include "SimulatedSession.h"

#include "linkhub/ComConnection.h"
#include "linkhub/FirmwareImage.h"
#include "tools/simulator/PseudoTerminal.h"
#include "tools/simulator/SimulatedBikeComputer.h"

#include <QSignalSpy>
#include <QTest>

#include <chrono>

namespace {

// A transfer of 28 blocks at 9600 baud takes about a minute; leave room for a loaded machine.
constexpr int TransferTimeout = 240000;
constexpr int Timeout = int(SessionTimeout.count());

/// A 64 KiB image in which every 2048-byte stretch differs from every other.
QByteArray testImage()
{
    QByteArray image(0x10000, '\0');
    for (int i = 0; i < image.size(); ++i)
        image[i] = char((i * 7 + (i >> 11) * 13 + (i >> 8)) & 0xFF);
    return image;
}

QList<int> firmwareCodes(const SimulatedBikeComputer &device)
{
    QList<int> codes;
    for (quint8 code : device.requestCodes())
        if (code == EnterBootloader || code == FirmwareBlock)
            codes.append(code);
    return codes;
}

QList<int> progressOf(const QSignalSpy &spy)
{
    QList<int> values;
    for (const QList<QVariant> &arguments : spy)
        values.append(arguments.at(0).toInt());
    return values;
}

QList<int> oneTo(int last)
{
    QList<int> values;
    for (int i = 1; i <= last; ++i)
        values.append(i);
    return values;
}

/// Opens the link to a device: identified through a normal handshake, or, for a device that
/// only runs its boot loader, in recovery mode with the model set by hand.
void openFor(ComConnection &connection, LinkRecorder &recorder, SimulatedBikeComputer &device, bool recovery)
{
    if (recovery) {
        QVERIFY(device.startInBootLoader());
        connection.open(device.portName(), true);
        QCOMPARE(connection.getConnectionState(), WaitingForAnswer);
        connection.setDeviceModel(connection.getCatalogue().value(device.model()->id));
        return;
    }
    QVERIFY(device.start());
    connection.open(device.portName());
    QTRY_VERIFY_WITH_TIMEOUT(recorder.hasUpdate(IdentityUpdate), Timeout);
}

} // namespace

// Firmware transfers into the simulated bike computer's boot loader, at the real line speed.
class tst_FirmwareTransfer : public QObject
{
    Q_OBJECT

private slots:
    void wholeTransfer_data()
    {
        QTest::addColumn<int>("modelId");
        QTest::addColumn<bool>("recovery");
        QTest::newRow("Lumo 50, boot loader command") << 0x23 << false;
        QTest::newRow("Lumo 60 in recovery, no command") << 0x51 << true;
    }

    // With the real 2000 ms wait, each block goes out once: the wait counts from the moment the
    // 2055-byte frame (2141 ms at 9600 baud) has left the port.
    void wholeTransfer()
    {
        QFETCH(int, modelId);
        QFETCH(bool, recovery);
        SimulatedBikeComputer device{quint8(modelId)};
        ComConnection connection;
        LinkRecorder recorder(connection);
        QSignalSpy progress(&connection, &ComConnection::fwUpdateProgressChanged);
        QSignalSpy complete(&connection, &ComConnection::fwUpdateComplete);
        openFor(connection, recorder, device, recovery);
        if (QTest::currentTestFailed())
            return;
        QCOMPARE(connection.getAnswerTimeout(), ComConnection::DefaultAnswerTimeout);
        const DeviceModel &model = *device.model();
        const QByteArray image = testImage();
        device.clearRequests();

        QVERIFY(connection.sendFirmwareUpdate(image, !recovery));
        QTRY_COMPARE_WITH_TIMEOUT(complete.count(), 1, TransferTimeout);

        QList<int> expectedCodes(model.fwBlockCount, FirmwareBlock);
        if (!recovery)
            expectedCodes.prepend(EnterBootloader);
        QCOMPARE(firmwareCodes(device), expectedCodes);
        QCOMPARE(progressOf(progress), oneTo(model.fwBlockCount));
        const QByteArray received = device.firmwareImage();
        QCOMPARE(received.size(), model.fwAppSize);
        QVERIFY(received == image.mid(model.fwStartOffset));
        // First and last block carry the image's bytes from the model's start offset and up to its end.
        const QList<SimulatedBikeComputer::Request> requests = device.requests();
        const auto first = std::find_if(requests.begin(), requests.end(),
                                        [](const auto &request) { return request.code == FirmwareBlock; });
        QCOMPARE(first->payload.at(0), char(0));
        QVERIFY(first->payload.mid(1) == image.mid(model.fwStartOffset, 0x800));
        QCOMPARE(requests.last().payload.at(0), char(model.fwBlockCount - 1));
        QVERIFY(requests.last().payload.mid(1) == image.mid(0xF800));
        for (const SimulatedBikeComputer::Request &request : requests)
            QCOMPARE(request.lineSpeed, ComConnection::FirmwareBaudRate);
        QTest::qWait(300);
        QCOMPARE(complete.count(), 1);
        QVERIFY(!recorder.hasState(Closed, ConnectionLost));
    }

    void droppedAcknowledgementIsRecoveredByRetransmission()
    {
        SimulatedBikeComputer device{0x23};
        ComConnection connection;
        LinkRecorder recorder(connection);
        QSignalSpy progress(&connection, &ComConnection::fwUpdateProgressChanged);
        openFor(connection, recorder, device, true);
        device.setFault(FaultMode::DropBlockAck, 1);
        QVERIFY(connection.sendFirmwareUpdate(testImage(), false));
        QTRY_VERIFY_WITH_TIMEOUT(progress.count() >= 3, TransferTimeout);
        connection.hardClose(NoError);
        QCOMPARE(progressOf(progress).mid(0, 3), (QList<int>{1, 2, 3}));
        QList<int> indexes;
        for (const SimulatedBikeComputer::Request &request : device.requests())
            indexes.append(quint8(request.payload.at(0)));
        QCOMPARE(indexes.mid(0, 4), (QList<int>{0, 1, 1, 2}));
    }

    void silentDeviceEndsInConnectionLost()
    {
        SimulatedBikeComputer device{0x51};
        ComConnection connection;
        connection.setAnswerTimeout(ShortAnswerTimeout);
        LinkRecorder recorder(connection);
        QSignalSpy progress(&connection, &ComConnection::fwUpdateProgressChanged);
        QSignalSpy complete(&connection, &ComConnection::fwUpdateComplete);
        openFor(connection, recorder, device, true);
        device.setFault(FaultMode::SilentAfterBlock, 0);
        QTest::ignoreMessage(QtCriticalMsg, "Timeout");
        QVERIFY(connection.sendFirmwareUpdate(testImage(), false));
        QTRY_VERIFY_WITH_TIMEOUT(recorder.hasState(Closed, ConnectionLost), TransferTimeout);
        QCOMPARE(progressOf(progress), QList<int>{1});
        QCOMPARE(firmwareCodes(device), QList<int>(4, FirmwareBlock)); // block 0, then block 1 three times
        QTest::qWait(500);
        QCOMPARE(complete.count(), 0);
        QCOMPARE(firmwareCodes(device).size(), 4);
    }

    void shortImageIsRefusedWithNothingSent_data()
    {
        QTest::addColumn<int>("modelId");
        QTest::addColumn<int>("size");
        QTest::newRow("Lumo 50, one byte short") << 0x23 << 0xFFFF;
        QTest::newRow("Lumo 60, only the application part") << 0x51 << 0xE000;
    }

    void shortImageIsRefusedWithNothingSent()
    {
        QFETCH(int, modelId);
        QFETCH(int, size);
        ComConnection connection;
        PseudoTerminal line;
        QVERIFY(openQuietSession(connection, line, modelId));
        const DeviceModel *model = connection.getDeviceModel();
        QTest::ignoreMessage(QtCriticalMsg,
                             QStringLiteral("Firmware update refused: image of %1 bytes, the \"%2\" needs 65536")
                                 .arg(size)
                                 .arg(model->name)
                                 .toUtf8());
        QVERIFY(!connection.sendFirmwareUpdate(testImage().left(size), true));
        QTest::qWait(1500); // longer than the pause before the boot loader command
        QCOMPARE(line.readAvailable().toHex(' '), QByteArray());
        QCOMPARE(line.lineSpeed(), 600);
    }
};

QTEST_GUILESS_MAIN(tst_FirmwareTransfer)
#include "tst_firmwaretransfer.moc"
