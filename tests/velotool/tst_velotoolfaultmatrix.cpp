// SPDX-License-Identifier: GPL-3.0-or-later
#include "VelotoolProcess.h"

#include "outpost/FitReader.h"
#include "support/FileBytes.h"

#include "linkhub/TunedockCommand.h"
#include "tools/simulator/SimulatedBikeComputer.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <sys/resource.h>

namespace {

constexpr quint16 SessionGlobal = 18;
/// Largest resident size any run of velotool may reach.
constexpr long MemoryBoundKiB = 512 * 1024;

const QByteArray OlderFile(100, '\x0e');

const QString Supported = QStringLiteral("Lumo 20, Lumo 40, Lumo 50, Lumo 60");
const QString NoAnswerIn2s = QStringLiteral(
    "The bike computer on %1 did not answer within 2 s. Check that it is connected and switched on, then try again.");
const QString UnknownModel =
    QStringLiteral("The device on %1 named a model this program does not know. Only rides of %2 can be read.").arg("%1", Supported);

QString stoppedAnswering(const QString &blocks)
{
    return QStringLiteral("The bike computer on %1 stopped answering (%2). Check the cable and try again.").arg("%1", blocks);
}

QString notDeliveredIn5s(const QString &blocks)
{
    return QStringLiteral("The bike computer on %1 did not deliver every value within 5 s (%2). Check the cable and try "
                          "again.")
        .arg("%1", blocks);
}

long largestChildKiB()
{
    rusage usage{};
    ::getrusage(RUSAGE_CHILDREN, &usage);
    return usage.ru_maxrss;
}

/// The blocks a model reads, in the order it asks for them, as velotool names them.
const QMap<int, QStringList> BlocksOf{
    {0x21, {"clock", "current bike", "bike 1", "bike 2", "bike extras"}},
    {0x22, {"clock", "current bike", "heart rate and energy", "bike 1", "bike 2", "bike extras"}},
    {0x23, {"altitude and temperature", "current bike", "heart rate and energy", "clock", "bike 1", "bike 2",
            "bike extras"}},
    {0x51, {"altitude and temperature", "current bike", "heart rate and energy", "clock", "bike 1", "bike 2",
            "bike extras", "model option"}},
};

QString blocksRead(int modelId, int read, const QStringList &missing)
{
    return QStringLiteral("%1 of %2 blocks read; missing: %3")
        .arg(read)
        .arg(BlocksOf.value(modelId).size())
        .arg(missing.join(QStringLiteral(", ")));
}

} // namespace

/// velotool against each supported model under each fault: the exit status and the one line that
/// says what to do, no crash or hang, bounded memory, and an existing output file that changes
/// only when a whole ride was read.
class tst_VelotoolFaultMatrix : public QObject
{
    Q_OBJECT

private slots:
    void exportUnderFault_data()
    {
        QTest::addColumn<int>("modelId");
        QTest::addColumn<int>("fault");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("message");

        const QStringList timeout2{"--timeout", "2"};
        const QStringList timeout5{"--timeout", "5"};
        const struct
        {
            const char *name;
            int id;
            int claims;
            int claimStatus;
            QString claimMessage;
        } models[] = {
            // A Lumo 20 named a Lumo 40 has no heart-rate answer to give.
            {"Lumo 20", 0x21, 0x22, 4,
             stoppedAnswering(blocksRead(0x22, 2, {"heart rate and energy", "bike 1", "bike 2", "bike extras"}))},
            // A Lumo 40 named a Lumo 20 answers all the Lumo 20 asks, in its lengths.
            {"Lumo 40", 0x22, 0x21, 0, QString()},
            // A Lumo 50 named a Lumo 60: bike settings a byte short, no option byte.
            {"Lumo 50", 0x23, 0x51, 4, stoppedAnswering(blocksRead(0x51, 5, {"bike 1", "bike 2", "model option"}))},
            // A Lumo 60 named a Lumo 50: its firmware is too old for one.
            {"Lumo 60", 0x51, 0x23, 6,
             QStringLiteral("The firmware 15 of this Lumo 50 is below the lowest accepted version 30. Please update "
                            "your device with the Tunedock tool, then try again.")},
        };
        for (const auto &model : models) {
            const QStringList blocks = BlocksOf.value(model.id);
            const auto row = [&](const char *fault, FaultMode mode, int count, const QString &setup,
                                 const QStringList &options, int status, const QString &message) {
                QTest::addRow("%s, %s", fault, model.name)
                    << model.id << int(mode) << count << setup << options << status << message;
            };
            row("silent", FaultMode::Silent, 0, {}, timeout2, 4, NoAnswerIn2s);
            row("dropped answer", FaultMode::DropNthAnswer, 3, {}, {}, 0, {});
            row("bad checksum", FaultMode::CorruptChecksum, 0, {}, timeout2, 4, NoAnswerIn2s);
            row("noise before answers", FaultMode::NoiseBeforeAnswer, 0, {}, {}, 0, {});
            // One answer a byte short, which the link drops: the read cannot be complete.
            row("wrong length", FaultMode::None, 0, "short bike extras", timeout5, 4,
                notDeliveredIn5s(blocksRead(model.id, int(blocks.size()) - 1, {"bike extras"})));
            row("unknown id", FaultMode::UnknownId, 0, {}, {}, 5, UnknownModel);
            row("another model's id", FaultMode::AnotherModelId, model.claims, {}, {}, model.claimStatus,
                model.claimMessage);
            row("unplugged mid-read", FaultMode::UnplugAfter, 3, {}, {}, 4,
                stoppedAnswering(blocksRead(model.id, 1, blocks.mid(1))));
            row("answers just under the bound", FaultMode::SlowAnswers, 1700, {}, {}, 0, {});
            row("reopened after a loss", FaultMode::None, 0, "lost before", {}, 0, {});
        }
        QTest::addRow("firmware version twice, Lumo 60") << 0x51 << int(FaultMode::DuplicateAnswer) << 2 << QString()
                                                  << QStringList() << 0 << QString();
        QTest::addRow("identification twice, Lumo 60") << 0x51 << int(FaultMode::DuplicateAnswer) << 1 << QString()
                                                       << QStringList() << 0 << QString();
    }

    void exportUnderFault()
    {
        QFETCH(int, modelId);
        QFETCH(int, fault);
        QFETCH(int, count);
        QFETCH(QString, setup);
        QFETCH(QStringList, options);
        QFETCH(int, status);
        QFETCH(QString, message);
        SimulatedBikeComputer device{quint8(modelId)};
        if (setup == QLatin1String("short bike extras")) {
            device.setHandler(ReadBikeAux, [&device](ModelData &values, const RequestFrame &) {
                return std::optional<QByteArray>(AnswerEncoder(device.model()).bikeAux(values).chopped(1));
            });
        }
        QVERIFY(device.start());
        QTemporaryDir folder;
        QVERIFY(folder.isValid());
        const QString target = folder.filePath(QStringLiteral("ride.fit"));
        QVERIFY(FileBytes::write(target, OlderFile));
        const QStringList arguments = QStringList{"export", "--port", device.portName(), "-q"} + options + QStringList{target};

        if (setup == QLatin1String("lost before")) {
            device.setFault(FaultMode::Silent);
            const VelotoolRun lost = VelotoolProcess::run(QStringList{"export", "--port", device.portName(), "-q",
                                                                      "--timeout", "2", target});
            QCOMPARE(lost.exitCode, 4);
            QCOMPARE(lost.err, NoAnswerIn2s.arg(device.portName()) + QLatin1Char('\n'));
            QCOMPARE(FileBytes::read(target), OlderFile);
        }
        device.setFault(FaultMode(fault), count);
        const VelotoolRun run = VelotoolProcess::run(arguments);

        QVERIFY(run.finished);
        QVERIFY(!run.crashed);
        QVERIFY2(largestChildKiB() < MemoryBoundKiB, qPrintable(QString::number(largestChildKiB())));
        QVERIFY2(run.exitCode == status, qPrintable(QStringLiteral("exit status %1: %2").arg(run.exitCode).arg(run.err)));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"ride.fit"});
        if (status != 0) {
            QCOMPARE(run.out, QString());
            // Only some messages name the port.
            const QString expected = message.contains(QLatin1String("%1")) ? message.arg(device.portName()) : message;
            QCOMPARE(run.err, expected + QLatin1Char('\n'));
            QCOMPARE(FileBytes::read(target), OlderFile);
            return;
        }
        // No warning either: the session ended politely.
        QCOMPARE(run.err, QString());
        const FitFile written = FitReader::read(FileBytes::read(target));
        QVERIFY2(written.isValid(), qPrintable(written.error));
        const QList<FitMessage> sessions = written.messagesOf(SessionGlobal);
        QCOMPARE(sessions.size(), 1);
        QCOMPARE(sessions[0].field(9)->raw(), quint64(device.values().bikes[0].dailyDistance / 10));
    }
};

QTEST_GUILESS_MAIN(tst_VelotoolFaultMatrix)
#include "tst_velotoolfaultmatrix.moc"
