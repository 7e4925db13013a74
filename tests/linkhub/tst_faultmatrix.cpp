// SPDX-License-Identifier: GPL-3.0-or-later
#include "LinkRecorder.h"
#include "RecordComparison.h"
#include "SimulatedSession.h"

#include "linkhub/ComConnection.h"
#include "linkhub/ReadProgress.h"
#include "tools/simulator/AnswerEncoder.h"
#include "tools/simulator/SimulatedBikeComputer.h"

#include <QFile>
#include <QTest>

#include <chrono>
#include <mutex>

using Report = LinkRecorder::Report;
using Reports = QList<Report>;

namespace {

constexpr int Timeout = int(SessionTimeout.count());
constexpr int QuietWatch = 700;
/// Each answer of the slow device is complete this long after its request: just under the link's wait.
constexpr std::chrono::milliseconds NearTheBound{1700};
/// What one row may add to the test's resident memory.
constexpr qint64 RowMemoryGrowth = 64 * 1024 * 1024;

enum class Fault {
    Silent,
    DroppedAnswer,
    BadChecksum,
    NoiseBeforeAnswers,
    WrongLength,
    UnknownId,
    AnotherModelsId,
    UnplugMidRead,
    AnswersNearTheBound,
    ReopenAfterLoss,
    RepeatedAnswer,
};

const Reports LostBeforeIdentification{
    {Opening, NoError}, {WaitingForAnswer, NoError}, {Closing, ConnectionLost}, {Closed, ConnectionLost}};
const Reports WholeSession{
    {Opening, NoError}, {WaitingForAnswer, NoError}, {Connected, NoError}, {Closing, NoError}, {Closed, NoError}};
const Reports LostWhileConnected{
    {Opening, NoError}, {WaitingForAnswer, NoError}, {Connected, NoError}, {Closing, ConnectionLost}, {Closed, ConnectionLost}};

// Critical diagnostics of the link, from whichever thread writes them.
std::mutex diagnosticsLock;
QStringList diagnostics; // guarded by diagnosticsLock
QtMessageHandler forward = nullptr;

void recordDiagnostic(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (type != QtCriticalMsg) {
        forward(type, context, message);
        return;
    }
    std::lock_guard<std::mutex> guard(diagnosticsLock);
    diagnostics.append(message);
}

QStringList takeDiagnostics()
{
    std::lock_guard<std::mutex> guard(diagnosticsLock);
    return std::exchange(diagnostics, {});
}

bool hasDiagnostic(const QString &line)
{
    std::lock_guard<std::mutex> guard(diagnosticsLock);
    return diagnostics.contains(line);
}

qint64 residentBytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong() * 1024;
    }
    return 0;
}

QString illegalSize(quint8 code, int size, int expected)
{
    return QStringLiteral("Illegal command ( \"%1\" ) size:  %2  should be:  %3")
        .arg(QString::number(code, 16))
        .arg(size)
        .arg(expected);
}

/// The complaint about the answer to a request sent one byte off its length (an empty one
/// gets a byte), as FaultMode::WrongLength sends it.
QString wrongLengthComplaint(const SimulatedBikeComputer &device, quint8 request)
{
    const int sent = int(AnswerEncoder(device.model()).encode(request, device.values()).value_or(QByteArray()).size());
    const quint8 answer = answerCodeFor(request);
    return illegalSize(answer, sent == 0 ? 1 : sent - 1, device.model()->answerSize(answer) & 0xFF);
}

int clockPolls(const SimulatedBikeComputer &device)
{
    const int listed = device.model()->requestCommands.contains(ReadDateTime) ? 1 : 0;
    return int(device.requestCodes().count(quint8(ReadDateTime))) - listed;
}

} // namespace

Q_DECLARE_METATYPE(Fault)

/// Ten ways a device misbehaves, on each supported model, through the real port: the link reports
/// exactly what happened, never crashes or hangs, and keeps its memory.
class tst_FaultMatrix : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<SimulatedBikeComputer> device;
    std::unique_ptr<ComConnection> connection;
    std::unique_ptr<LinkRecorder> recorder;

    void identify()
    {
        connection->open(device->portName());
        QTRY_VERIFY_WITH_TIMEOUT(recorder->hasUpdate(FirmwareVersionUpdate), Timeout);
    }

    bool everyBlockAnnounced() const
    {
        ReadProgress progress(*device->model());
        for (int block : recorder->updates)
            progress.note(block);
        return progress.isComplete();
    }

    void readAll()
    {
        connection->approveFw();
        QTRY_VERIFY_WITH_TIMEOUT(everyBlockAnnounced(), Timeout);
    }

    void closePolitely()
    {
        connection->close();
        QTRY_VERIFY_WITH_TIMEOUT(recorder->hasState(Closed), Timeout);
    }

    void waitForLoss() { QTRY_VERIFY_WITH_TIMEOUT(recorder->hasState(Closed, ConnectionLost), Timeout); }

    void compareWithDevice() { compareRecords(*connection->getData(), expectedRecord(device->values())); }

    /// Reads the device from the start, closes politely and checks the record; stops at a failure.
    void wholeSession()
    {
        for (auto step : {&tst_FaultMatrix::identify, &tst_FaultMatrix::readAll, &tst_FaultMatrix::closePolitely,
                          &tst_FaultMatrix::compareWithDevice}) {
            (this->*step)();
            if (QTest::currentTestFailed())
                return;
        }
    }

    /// Drives the session through the fault and names the critical diagnostics that must follow.
    /// `figure` is the id another model's id names, or the number of the answer sent twice.
    void run(Fault fault, int figure, bool endsLost, QStringList &expected)
    {
        switch (fault) {
        case Fault::Silent:
            device->setFault(FaultMode::Silent);
            connection->open(device->portName());
            waitForLoss();
            expected = {"Timeout"};
            return;
        case Fault::DroppedAnswer:
            device->setFault(FaultMode::DropNthAnswer, 3); // the first answer of the read phase
            wholeSession();
            return;
        case Fault::BadChecksum:
            // The device takes its broken answer for a good one and moves to its speed, so the
            // link's second and third attempts go unheard.
            device->setFault(FaultMode::CorruptChecksum);
            connection->open(device->portName());
            waitForLoss();
            expected = {"ConnectionError: Wrong checksum.  \"92\"", "Timeout"};
            return;
        case Fault::NoiseBeforeAnswers:
            device->setFault(FaultMode::NoiseBeforeAnswer);
            wholeSession();
            expected = QList<QString>(SimulatedBikeComputer::noiseBytes().size() * device->answerCount(),
                                  QStringLiteral("Wrong start byte."));
            return;
        case Fault::WrongLength: {
            identify();
            device->setFault(FaultMode::WrongLength);
            connection->approveFw();
            const int reads = 2 + int(device->model()->requestCommands.size());
            QTRY_VERIFY_WITH_TIMEOUT(device->requests().size() > reads, Timeout);
            // The close is answered too, one byte off as well, so only a hard close ends the session.
            connection->close();
            QTRY_VERIFY_WITH_TIMEOUT(hasDiagnostic(wrongLengthComplaint(*device, CloseSession)), Timeout);
            connection->hardClose(NoError);
            QStringList complaints;
            for (quint8 code : device->requestCodes().mid(2))
                complaints.append(wrongLengthComplaint(*device, code));
            expected = complaints;
            return;
        }
        case Fault::UnknownId:
            device->setFault(FaultMode::UnknownId);
            connection->open(device->portName());
            QTRY_VERIFY_WITH_TIMEOUT(recorder->hasState(Closed, UnknownDeviceType), Timeout);
            QTest::qWait(QuietWatch);
            connection->close();
            QTRY_COMPARE_WITH_TIMEOUT(recorder->states.size(), 5, Timeout);
            return;
        case Fault::AnotherModelsId: {
            device->setFault(FaultMode::AnotherModelId, figure);
            identify();
            connection->approveFw();
            if (endsLost) {
                waitForLoss();
            } else {
                const int reads = 2 + int(connection->getDeviceModel()->requestCommands.size());
                QTRY_VERIFY_WITH_TIMEOUT(device->requests().size() > reads, Timeout);
                closePolitely();
            }
            QCOMPARE(connection->getDeviceModel()->id, quint8(figure));
            return;
        }
        case Fault::UnplugMidRead:
            identify();
            device->setFault(FaultMode::UnplugAfter, 3);
            connection->approveFw();
            waitForLoss();
            QVERIFY(!device->isPlugged());
            // The port reports the hang-up at once, before any request could time out.
            return;
        case Fault::AnswersNearTheBound:
            connection->setAnswerTimeout(ComConnection::DefaultAnswerTimeout);
            device->setFault(FaultMode::SlowAnswers, int(NearTheBound.count()));
            wholeSession();
            // The close overtook the clock requests of the read phase instead of waiting behind them.
            QCOMPARE(device->requestCodes().last(), quint8(CloseSession));
            QVERIFY2(clockPolls(*device) <= 2, qPrintable(QString::number(clockPolls(*device))));
            return;
        case Fault::ReopenAfterLoss:
            identify();
            readAll();
            device->setFault(FaultMode::Silent);
            waitForLoss();
            device->setFault(FaultMode::None);
            recorder->updates.clear();
            wholeSession();
            expected = {"Timeout"};
            return;
        case Fault::RepeatedAnswer:
            device->setFault(FaultMode::DuplicateAnswer, figure);
            wholeSession();
            // The first answer is the identification, the second the firmware version.
            QCOMPARE(recorder->updates.count(figure == 1 ? IdentityUpdate : FirmwareVersionUpdate), 2);
            return;
        }
    }

private slots:
    void initTestCase() { forward = qInstallMessageHandler(recordDiagnostic); }
    void cleanupTestCase() { qInstallMessageHandler(forward); }

    void faultOnEveryModel_data()
    {
        QTest::addColumn<Fault>("fault");
        QTest::addColumn<int>("modelId");
        QTest::addColumn<int>("figure");
        QTest::addColumn<Reports>("states");
        QTest::addColumn<QStringList>("listed");

        const struct
        {
            const char *name;
            int id;
            int claims; // another model's id it names, and what follows from it
            Reports claimStates;
            QStringList claimDiagnostics;
        } models[] = {
            // A Lumo 20 named a Lumo 40 has no heart-rate answer to give.
            {"Lumo 20", 0x21, 0x22, LostWhileConnected, {"Timeout"}},
            // A Lumo 40 named a Lumo 20 answers every request of the Lumo 20 in its lengths.
            {"Lumo 40", 0x22, 0x21, WholeSession, {}},
            // A Lumo 50 named a Lumo 60 sends bike settings a byte short and has no option byte.
            {"Lumo 50", 0x23, 0x51, LostWhileConnected,
             {illegalSize(0xD3, 25, 26), illegalSize(0xD5, 25, 26), "Timeout"}},
            // A Lumo 60 named a Lumo 50 sends bike settings a byte long.
            {"Lumo 60", 0x51, 0x23, WholeSession, {illegalSize(0xD3, 26, 25), illegalSize(0xD5, 26, 25)}},
        };
        const Reports unknown{{Opening, NoError}, {WaitingForAnswer, NoError}, {Closed, UnknownDeviceType},
                              {Closing, NoError}, {Closed, NoError}};
        const Reports reopened = LostWhileConnected + Reports{{Opening, NoError}, {WaitingForAnswer, NoError},
                                                              {Connected, NoError}, {Closing, NoError}, {Closed, NoError}};
        for (const auto &model : models) {
            const auto row = [&](const char *fault, Fault kind, const Reports &states, const QStringList &expected = {},
                                 int figure = 0) {
                QTest::addRow("%s, %s", fault, model.name) << kind << model.id << figure << states << expected;
            };
            row("silent", Fault::Silent, LostBeforeIdentification);
            row("dropped answer", Fault::DroppedAnswer, WholeSession);
            row("bad checksum", Fault::BadChecksum, LostBeforeIdentification);
            row("noise before answers", Fault::NoiseBeforeAnswers, WholeSession);
            row("wrong length", Fault::WrongLength, WholeSession);
            row("unknown id", Fault::UnknownId, unknown);
            row("another model's id", Fault::AnotherModelsId, model.claimStates, model.claimDiagnostics, model.claims);
            row("unplugged mid-read", Fault::UnplugMidRead, LostWhileConnected);
            row("answers just under the bound", Fault::AnswersNearTheBound, WholeSession);
            row("reopened after a loss", Fault::ReopenAfterLoss, reopened);
            row("firmware version twice", Fault::RepeatedAnswer, WholeSession, {}, 2);
            row("identification twice", Fault::RepeatedAnswer, WholeSession, {}, 1);
        }
    }

    void faultOnEveryModel()
    {
        QFETCH(Fault, fault);
        QFETCH(int, modelId);
        QFETCH(int, figure);
        QFETCH(Reports, states);
        QFETCH(QStringList, listed);
        const qint64 memoryBefore = residentBytes();
        device = std::make_unique<SimulatedBikeComputer>(quint8(modelId));
        QVERIFY(device->start());
        connection = std::make_unique<ComConnection>();
        connection->setAnswerTimeout(ShortAnswerTimeout);
        recorder = std::make_unique<LinkRecorder>(*connection);
        takeDiagnostics();

        QStringList expected;
        run(fault, figure, states.contains({Closed, ConnectionLost}), expected);
        if (QTest::currentTestFailed())
            return;
        QTest::qWait(QuietWatch); // time enough for a report that should not come
        expected += listed;
        QCOMPARE(recorder->states, states);
        const QStringList written = takeDiagnostics();
        QVERIFY2(written == expected, qPrintable(written.join(QLatin1String(" | "))));

        recorder.reset();
        connection.reset();
        device.reset();
        const qint64 growth = residentBytes() - memoryBefore;
        QVERIFY2(growth < RowMemoryGrowth, qPrintable(QString::number(growth)));
    }

    void cleanup()
    {
        recorder.reset();
        connection.reset();
        device.reset();
    }
};

QTEST_GUILESS_MAIN(tst_FaultMatrix)
#include "tst_faultmatrix.moc"
