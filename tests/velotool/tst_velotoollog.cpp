// SPDX-License-Identifier: GPL-3.0-or-later
// The transfer log that velotool writes with --log: a whole session against a simulated bike
// computer, frame by frame, and a file that is complete whatever became of the session.

#include "VelotoolProcess.h"

#include "tools/simulator/SimulatedBikeComputer.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

struct LogLine
{
    QString event; // sent, resent, received, rejected, no answer, state
    int speed = 0;
    quint8 code = 0;
    int attempt = 0;
    QString rest; // the bytes of a frame, the state and reason of a state change
};

// Every line of the file but the heading, which starts with '#'; a line of any other form fails.
QList<LogLine> readLog(const QString &path)
{
    static const QRegularExpression frame(QStringLiteral(
        R"(^ *\d+\.\d{3} (sent|resent|received|rejected) (\d+) code ([0-9a-f]{2}) length \d+(?: attempt (\d))?: )"
        R"(([0-9a-f ]+?)(?: \(checksum should be [0-9a-f]{2}\))?$)"));
    static const QRegularExpression silence(
        QStringLiteral(R"(^ *\d+\.\d{3} (no answer) (\d+) code ([0-9a-f]{2}) attempt (\d) within 2000 ms$)"));
    static const QRegularExpression state(QStringLiteral(R"(^ *\d+\.\d{3} (state) (\w+ \w+)$)"));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return {};
    QList<LogLine> lines;
    const QStringList text = QString::fromUtf8(file.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    for (const QString &line : text) {
        if (line.startsWith(QLatin1Char('#')))
            continue;
        QRegularExpressionMatch match = frame.match(line);
        if (!match.hasMatch())
            match = silence.match(line);
        if (match.hasMatch()) {
            lines.append({match.captured(1), match.captured(2).toInt(), quint8(match.captured(3).toUInt(nullptr, 16)),
                          match.captured(4).toInt(), match.captured(5)});
            continue;
        }
        match = state.match(line);
        if (!match.hasMatch()) {
            lines.append({QStringLiteral("unreadable: ") + line, 0, 0, 0, QString()});
            continue;
        }
        lines.append({match.captured(1), 0, 0, 0, match.captured(2)});
    }
    return lines;
}

QStringList events(const QList<LogLine> &lines)
{
    QStringList names;
    for (const LogLine &line : lines)
        names.append(line.event);
    return names;
}

} // namespace

class tst_VelotoolLog : public QObject
{
    Q_OBJECT

private:
    static std::unique_ptr<SimulatedBikeComputer> startDevice(FaultMode fault, int faultCount = 0)
    {
        auto device = std::make_unique<SimulatedBikeComputer>(0x51); // Lumo 60: identified at 600, read at 9600
        device->setFault(fault, faultCount);
        if (!device->start())
            return nullptr;
        return device;
    }

private slots:
    void logsEveryFrameOfASession()
    {
        // The second answer (the firmware version) is lost once, so its request goes out again.
        const auto device = startDevice(FaultMode::DropNthAnswer, 2);
        QVERIFY(device);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("wire.log"));
        const VelotoolRun run =
            VelotoolProcess::run({"read", "--port", device->portName(), "--log", path, "--json"});
        QVERIFY(run.finished);
        QCOMPARE(run.exitCode, 0);
        QVERIFY2(!run.err.contains(QLatin1String("code 12")), qPrintable(run.err));

        const QList<LogLine> lines = readLog(path);
        QVERIFY(!events(lines).join(QLatin1Char(',')).contains(QLatin1String("unreadable")));
        QCOMPARE(lines.constFirst().rest, QStringLiteral("Opening NoError"));
        QCOMPARE(lines.constLast().rest, QStringLiteral("Closed NoError"));
        QVERIFY(events(lines).contains(QStringLiteral("no answer")));

        // Each frame sent is one request the device saw, in order and at its speed; each answer
        // follows the frame it answers.
        const QList<SimulatedBikeComputer::Request> requests = device->requests();
        int sent = 0;
        quint8 lastSentCode = 0;
        int resent = 0;
        for (const LogLine &line : lines) {
            if (line.event == QLatin1String("sent") || line.event == QLatin1String("resent")) {
                QVERIFY(sent < requests.size());
                QCOMPARE(line.code, requests.at(sent).code);
                QCOMPARE(line.speed, requests.at(sent).lineSpeed);
                QCOMPARE(line.event == QLatin1String("resent"), line.attempt > 1);
                if (line.attempt > 1) {
                    QCOMPARE(line.code, lastSentCode);
                    ++resent;
                }
                lastSentCode = line.code;
                ++sent;
            } else if (line.event == QLatin1String("received")) {
                QCOMPARE(line.code, quint8(lastSentCode | 0x80));
                QCOMPARE(line.speed, lastSentCode == 0x12 ? 600 : 9600);
            }
        }
        QCOMPARE(sent, requests.size());
        QCOMPARE(resent, 1);
        QCOMPARE(lines.at(2).event, QStringLiteral("sent"));
        QCOMPARE(lines.at(2).rest, QStringLiteral("ff 55 12 00 12"));
        QCOMPARE(lines.at(2).speed, 600);
        const auto identified = std::find_if(lines.cbegin(), lines.cend(),
                                             [](const LogLine &line) { return line.event == QLatin1String("received"); });
        QVERIFY(identified != lines.cend());
        QCOMPARE(identified->rest, QStringLiteral("ff 55 92 01 51 e4"));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"wire.log"});
    }

    void logIsWholeWhenTheLinkIsLost()
    {
        // Every answer comes with a wrong checksum: the link hears a frame but no answer. Having
        // named itself, the device talks at its own speed and no longer understands the requests.
        const auto device = startDevice(FaultMode::CorruptChecksum);
        QVERIFY(device);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("wire.log"));
        const VelotoolRun run = VelotoolProcess::run({"read", "--port", device->portName(), "--log", path});
        QVERIFY(run.finished);
        QCOMPARE(run.exitCode, 4);

        const QList<LogLine> lines = readLog(path);
        QList<LogLine> transfers;
        std::copy_if(lines.cbegin(), lines.cend(), std::back_inserter(transfers),
                     [](const LogLine &line) { return line.event != QLatin1String("state"); });
        QCOMPARE(events(transfers),
                 QStringList({"sent", "rejected", "no answer", "resent", "no answer", "resent", "no answer"}));
        for (const LogLine &line : transfers) {
            const int code = line.event == QLatin1String("rejected") ? 0x92 : 0x12;
            QCOMPARE(std::make_pair(int(line.code), line.speed), std::make_pair(code, 600));
        }
        QCOMPARE(transfers.at(1).rest, QStringLiteral("ff 55 92 01 51 e5"));
        QVERIFY(std::any_of(lines.cbegin(), lines.cend(),
                            [](const LogLine &line) { return line.rest == QLatin1String("Closed ConnectionLost"); }));
        // velotool's own close of the lost link comes last.
        QCOMPARE(lines.constLast().rest, QStringLiteral("Closed NoError"));
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"wire.log"});
    }

    void logsAWriteToTheDevice()
    {
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("wire.log"));
        const VelotoolRun run = VelotoolProcess::run({"clock", "--simulate", "Lumo 60", "--log", path});
        QVERIFY(run.finished);
        QCOMPARE(run.exitCode, 0);

        const QList<LogLine> lines = readLog(path);
        QVERIFY(!events(lines).join(QLatin1Char(',')).contains(QLatin1String("unreadable")));
        const auto has = [&lines](const char *event, quint8 code) {
            return std::any_of(lines.cbegin(), lines.cend(), [&](const LogLine &line) {
                return line.event == QLatin1String(event) && line.code == code;
            });
        };
        QVERIFY(has("sent", 0x42));     // the clock written
        QVERIFY(has("received", 0xc2)); // and acknowledged
        QVERIFY(has("received", 0xc1)); // and read back
        QCOMPARE(lines.constLast().rest, QStringLiteral("Closed NoError"));
    }

    void refusesALogItCannotWrite()
    {
        const auto device = startDevice(FaultMode::None);
        QVERIFY(device);
        const VelotoolRun run = VelotoolProcess::run(
            {"read", "--port", device->portName(), "--log", "/nonexistent-folder/wire.log"});
        QVERIFY(run.finished);
        QCOMPARE(run.exitCode, 7);
        QVERIFY2(run.lastErrLine().startsWith(QLatin1String("The transfer log /nonexistent-folder/wire.log cannot be "
                                                            "written")),
                 qPrintable(run.lastErrLine()));
        QVERIFY(device->requests().isEmpty());
    }
};

QTEST_GUILESS_MAIN(tst_VelotoolLog)
#include "tst_velotoollog.moc"
