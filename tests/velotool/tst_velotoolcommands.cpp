// SPDX-License-Identifier: GPL-3.0-or-later
#include "VelotoolProcess.h"

#include "linkhub/ComConnection.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTest>

#include <csignal>

namespace {

const QStringList ExitStatusLines = {
    QStringLiteral("  0    success"),
    QStringLiteral("  2    usage error"),
    QStringLiteral("  3    the port cannot be opened"),
    QStringLiteral("  4    the device is silent or was lost"),
    QStringLiteral("  5    unknown or unsupported model"),
    QStringLiteral("  6    firmware below the lowest version"),
    QStringLiteral("  7    the output cannot be written"),
    QStringLiteral("  8    no serial port behind a supported USB bridge"),
    QStringLiteral("  9    the simulated bike computer cannot be started"),
    QStringLiteral("  10   the input file (a raw ride record, a firmware image) cannot be read or is not what the command takes"),
    QStringLiteral("  11   the portal refused the upload (its HTTP status is named)"),
    QStringLiteral("  12   the portal cannot be reached, its certificate is not trusted, or it did not answer in time"),
    QStringLiteral("  130  interrupted (Ctrl-C)"),
};

constexpr std::chrono::milliseconds PortLineWait{10000};

} // namespace

class tst_VelotoolCommands : public QObject
{
    Q_OBJECT

private slots:
    void help_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("usage");
        QTest::addColumn<QStringList>("mentions");
        QTest::newRow("velotool --help") << QStringList{"--help"} << "Usage: velotool COMMAND [options]"
                                         << QStringList{"ports", "simulate", "read", "export", "clock", "odometer",
                                                        "firmware", "convert", "upload", "--quiet"};
        QTest::newRow("velotool help") << QStringList{"help"} << "Usage: velotool COMMAND [options]"
                                       << QStringList{"export --simulate \"Lumo 60\""};
        QTest::newRow("ports --help") << QStringList{"ports", "--help"} << "Usage: velotool ports [options]"
                                      << QStringList{"--quiet", "--verbose", "--version"};
        QTest::newRow("simulate -h") << QStringList{"simulate", "-h"}
                                     << "Usage: velotool simulate [--model NAME|ID] [--firmware N] [--write-record FILE] [options]"
                                     << QStringList{"--model <NAME|ID>", "--firmware <N>", "Ctrl-C"};
        QTest::newRow("read --help") << QStringList{"read", "--help"}
                                     << "Usage: velotool read (--port NAME | --simulate MODEL) [--json] [options]"
                                     << QStringList{"--port <NAME>", "--simulate <MODEL>", "--json", "--timeout <SECONDS>"};
        QTest::newRow("export --help")
            << QStringList{"export", "--help"}
            << "Usage: velotool export (--port NAME | --simulate MODEL) [--bike 1|2] [--start \"YYYY-MM-DD HH:MM\"] "
               "[options] OUTPUT"
            << QStringList{"--bike <1|2>", "--start <YYYY-MM-DD HH:MM>", "OUTPUT", "\".fit\""};
        QTest::newRow("convert --help") << QStringList{"convert", "--help"}
                                        << "Usage: velotool convert [--json] [options] RAW OUT.fit"
                                        << QStringList{"--json", "RAW", "simulate --write-record FILE"};
        QTest::newRow("upload --help")
            << QStringList{"upload", "--help"}
            << "Usage: velotool upload FILE.fit --user NAME [--server URL] [--ca-certificates FILE] [--password-stdin] "
               "[options]"
            << QStringList{"--user <NAME>", "--server <URL>", "--ca-certificates <FILE>", "--password-stdin",
                           "https://www.sportics.com", "sportics/upload_server", "--timeout <SECONDS>"};
        QTest::newRow("clock --help")
            << QStringList{"clock", "--help"}
            << "Usage: velotool clock (--port NAME | --simulate MODEL) [--to \"YYYY-MM-DD HH:MM:SS\"] [options]"
            << QStringList{"--to <YYYY-MM-DD HH:MM:SS>", "time of day only"};
        QTest::newRow("odometer --help")
            << QStringList{"odometer", "--help"}
            << "Usage: velotool odometer (--port NAME | --simulate MODEL) --bike 1|2 [--miles] [options] DISTANCE"
            << QStringList{"--bike <1|2>", "--miles", "DISTANCE"};
        QTest::newRow("firmware --help")
            << QStringList{"firmware", "--help"}
            << "Usage: velotool firmware (--port NAME | --simulate MODEL) [--recovery MODEL] [--yes] [options] IMAGE"
            << QStringList{"--recovery <MODEL>", "--yes", "without firmware", "Ctrl-C", "a firmware image) cannot be read"};
    }

    void help()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, usage);
        QFETCH(QStringList, mentions);
        const VelotoolRun run = VelotoolProcess::run(arguments);
        QVERIFY(run.finished);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.err, QString());
        QCOMPARE(run.out.section(QLatin1Char('\n'), 0, 0), usage);
        for (const QString &mention : mentions)
            QVERIFY2(run.out.contains(mention), qPrintable(mention));
        QVERIFY(run.out.contains(QLatin1String("\nExit statuses:\n")));
        for (const QString &line : ExitStatusLines)
            QVERIFY2(run.out.contains(QLatin1Char('\n') + line), qPrintable(line));
    }

    void version_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("velotool") << QStringList{"--version"};
        for (const char *command : {"ports", "simulate", "read", "export"})
            QTest::newRow(command) << QStringList{command, "--version"};
    }

    void version()
    {
        QFETCH(QStringList, arguments);
        const VelotoolRun run = VelotoolProcess::run(arguments);
        QCOMPARE(run.exitCode, 0);
        QCOMPARE(run.out, QStringLiteral("velotool " PACEROW_VERSION "\n"));
        QCOMPARE(run.err, QString());
    }

    void usageErrors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("message");
        QTest::newRow("no command") << QStringList{} << "Name a command: ports, simulate, read, export, clock, odometer, firmware, convert, upload or logbook. Try \"velotool --help\".";
        QTest::newRow("unknown command") << QStringList{"sync"} << "Unknown command \"sync\": use ports, simulate, read, export, clock, odometer, firmware, convert, upload or logbook. Try \"velotool --help\".";
        QTest::newRow("unknown option") << QStringList{"read", "--colour"} << "Unknown option 'colour'. Try \"velotool read --help\".";
        QTest::newRow("option without value") << QStringList{"read", "--port"} << "Missing value after '--port'. Try \"velotool read --help\".";
        QTest::newRow("no device") << QStringList{"read"} << "Name the device with either --port NAME or --simulate MODEL. Try \"velotool read --help\".";
        QTest::newRow("port and simulation") << QStringList{"read", "--port", "/dev/ttyUSB0", "--simulate", "Lumo 60"}
                                             << "Name the device with either --port NAME or --simulate MODEL. Try \"velotool read --help\".";
        QTest::newRow("unknown model") << QStringList{"read", "--simulate", "Lumo 65"}
                                       << "Unknown model \"Lumo 65\": name one of Lumo 10, Lumo 20, Lumo 30, Lumo 40, "
                                          "Lumo 50, Lumo 60, Lumo 70, or give its model id (such as 0x51). Try \"velotool read --help\".";
        QTest::newRow("model id outside the catalogue") << QStringList{"simulate", "--model", "0x99"}
                                                        << "Unknown model \"0x99\"";
        QTest::newRow("timeout not a number") << QStringList{"read", "--simulate", "Lumo 60", "--timeout", "soon"}
                                              << "The timeout must be a number of seconds above 0 and up to 3600, not \"soon\".";
        QTest::newRow("timeout zero") << QStringList{"read", "--simulate", "Lumo 60", "--timeout", "0"}
                                      << "The timeout must be a number of seconds above 0";
        QTest::newRow("read takes no file") << QStringList{"read", "--simulate", "Lumo 60", "ride.fit"}
                                            << "Unexpected argument \"ride.fit\". Try \"velotool read --help\".";
        QTest::newRow("export without output") << QStringList{"export", "--simulate", "Lumo 60"}
                                               << "Name the OUTPUT file. Try \"velotool export --help\".";
        QTest::newRow("export with two outputs") << QStringList{"export", "--simulate", "Lumo 60", "a.fit", "b.fit"}
                                                 << "Unexpected argument \"b.fit\".";
        QTest::newRow("bike 3") << QStringList{"export", "--simulate", "Lumo 60", "--bike", "3", "/tmp/ride.fit"}
                                << "The bike must be 1 or 2, not \"3\". Try \"velotool export --help\".";
        QTest::newRow("bike 0") << QStringList{"export", "--simulate", "Lumo 60", "--bike", "0", "/tmp/ride.fit"}
                                << "The bike must be 1 or 2, not \"0\".";
        QTest::newRow("start without time") << QStringList{"export", "--simulate", "Lumo 60", "--start", "2024-03-16", "/tmp/ride.fit"}
                                            << "The start must be a date and time such as \"2024-03-16 09:30\", not \"2024-03-16\".";
        QTest::newRow("start in month 13") << QStringList{"export", "--simulate", "Lumo 60", "--start", "2024-13-01 10:00", "/tmp/ride.fit"}
                                           << "The start must be a date and time such as \"2024-03-16 09:30\", not \"2024-13-01 10:00\".";
        QTest::newRow("start at 24:00") << QStringList{"export", "--simulate", "Lumo 60", "--start", "2024-03-16 24:00", "/tmp/ride.fit"}
                                        << "The start must be a date and time such as \"2024-03-16 09:30\", not \"2024-03-16 24:00\".";
        QTest::newRow("firmware above 99") << QStringList{"simulate", "--firmware", "100"}
                                           << "The firmware version must be a number from 0 to 99, not \"100\". Try \"velotool simulate --help\".";
        QTest::newRow("ports takes no argument") << QStringList{"ports", "/dev/ttyUSB0"} << "Unexpected argument \"/dev/ttyUSB0\".";
    }

    void usageErrors()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, message);
        const VelotoolRun run = VelotoolProcess::run(arguments);
        QVERIFY(run.finished);
        QCOMPARE(run.exitCode, 2);
        QCOMPARE(run.out, QString());
        QCOMPARE(run.errLines().size(), 1);
        QVERIFY2(run.lastErrLine().startsWith(message), qPrintable(run.lastErrLine()));
    }

    void ports()
    {
        const QList<QextPortInfo> expected = ComConnection::getSupportedComs();
        const VelotoolRun run = VelotoolProcess::run({QStringLiteral("ports")});
        QVERIFY(run.finished);
        if (expected.isEmpty()) {
            QCOMPARE(run.exitCode, 8);
            QCOMPARE(run.out, QString());
            QCOMPARE(run.err, QStringLiteral(
                "No serial port behind a supported USB bridge was found. Check the cable and that the bridge's "
                "driver is loaded; on Linux, also that your user belongs to the group that owns the serial devices "
                "(usually \"dialout\").\n"));
            return;
        }
        QCOMPARE(run.exitCode, 0);
        const QStringList lines = run.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        QCOMPARE(lines.size(), expected.size());
        for (int i = 0; i < expected.size(); ++i)
            QVERIFY(lines[i].startsWith(expected[i].portName + QStringLiteral("  ")));
    }

    void simulateServesUntilInterrupted_data()
    {
        QTest::addColumn<QStringList>("options");
        QTest::addColumn<QString>("announcement");
        QTest::addColumn<int>("readStatus");
        QTest::addColumn<QString>("readMessage");
        QTest::newRow("default model") << QStringList{} << "Simulated Lumo 60 with firmware 15 is serving on " << 0 << QString();
        QTest::newRow("Lumo 50 by id") << QStringList{"--model", "0x23"} << "Simulated Lumo 50 with firmware 36 is serving on "
                                       << 0 << QString();
        QTest::newRow("firmware below the minimum")
            << QStringList{"--model", "lumo 60", "--firmware", "11"} << "Simulated Lumo 60 with firmware 11 is serving on " << 6
            << "The firmware 11 of this Lumo 60 is below the lowest accepted version 12. Please update your device "
               "with the Tunedock tool, then try again.";
        QTest::newRow("unsupported model") << QStringList{"--model", "Lumo 30"} << "Simulated Lumo 30 with firmware 32 is serving on "
                                           << 5
                                           << "The Lumo 30 (model id 0x12) is not supported: only rides of Lumo 20, "
                                              "Lumo 40, Lumo 50, Lumo 60 can be read and exported.";
    }

    void simulateServesUntilInterrupted()
    {
        QFETCH(QStringList, options);
        QFETCH(QString, announcement);
        QFETCH(int, readStatus);
        QFETCH(QString, readMessage);

        QProcess simulator;
        VelotoolProcess::start(simulator, QStringList{QStringLiteral("simulate")} + options);
        QVERIFY(simulator.waitForStarted());
        QTRY_VERIFY_WITH_TIMEOUT(simulator.canReadLine(), int(PortLineWait.count()));
        const QString port = QString::fromUtf8(simulator.readLine()).trimmed();
        QVERIFY2(port.startsWith(QLatin1String("/dev/")), qPrintable(port));

        const VelotoolRun read = VelotoolProcess::run({QStringLiteral("read"), QStringLiteral("--port"), port,
                                                       QStringLiteral("--json"), QStringLiteral("--quiet")});
        QCOMPARE(read.exitCode, readStatus);
        if (readStatus == 0) {
            const QJsonObject device = QJsonDocument::fromJson(read.out.toUtf8()).object().value("device").toObject();
            QCOMPARE(device.value("model").toString(), announcement.section(QLatin1Char(' '), 1, 2));
        } else {
            QCOMPARE(read.err, readMessage + QLatin1Char('\n'));
        }

        QVERIFY(simulator.state() == QProcess::Running);
        ::kill(pid_t(simulator.processId()), SIGINT);
        QVERIFY(simulator.waitForFinished(int(PortLineWait.count())));
        QCOMPARE(simulator.exitStatus(), QProcess::NormalExit);
        QCOMPARE(simulator.exitCode(), 0);
        QCOMPARE(simulator.readAllStandardOutput(), QByteArray()); // the port was the only line
        const QString err = QString::fromUtf8(simulator.readAllStandardError());
        QVERIFY2(err.startsWith(announcement + port + QStringLiteral(". Open that port, for example with \"velotool read --port ")
                                + port + QStringLiteral("\". Press Ctrl-C to stop.\n")),
                 qPrintable(err));
        QVERIFY2(err.contains(QRegularExpression(QStringLiteral("\nStopped after answering [1-9][0-9]* requests.\n$"))),
                 qPrintable(err));
    }
};

QTEST_GUILESS_MAIN(tst_VelotoolCommands)
#include "tst_velotoolcommands.moc"
