// SPDX-License-Identifier: GPL-3.0-or-later
#include "support/FileBytes.h"
#include "support/MadeUpSystem.h"

#include "linkhub/BridgeDiagnosis.h"
#include "linkhub/PortDiagnosis.h"
#include "linkhub/QextSerialEnumerator.h"

#include <QTest>

namespace {
// As brltty's rules name the bridges it takes, by the udev product key or (older) by the ids.
const QByteArray brlttyByProduct = "ENV{PRODUCT}==\"10c4/ea60/*\", ENV{BRLTTY_BRAILLE_DRIVER}=\"sk\", "
                                   "GOTO=\"brltty_usb_run\"";
const QByteArray brlttyByIds = "ACTION==\"add\", SUBSYSTEM==\"usb\", ATTRS{idVendor}==\"0403\", "
                               "ATTRS{idProduct}==\"6001\", RUN+=\"/lib/brltty/brltty-udev.sh\"";
const QString brlttyFile = QStringLiteral("85-brltty.rules");
const QString packageRules = QStringLiteral("usr/lib/udev/rules.d");
const QString adminRules = QStringLiteral("etc/udev/rules.d");
}

class tst_BridgeDiagnosis : public QObject
{
    Q_OBJECT

private slots:
    void bridgeWithoutPort_data()
    {
        QTest::addColumn<QByteArray>("vendor");
        QTest::addColumn<QByteArray>("product");
        QTest::addColumn<bool>("withPort");
        QTest::addColumn<QByteArray>("brlttyRules");
        QTest::addColumn<bool>("turnedOff"); // a file of the same name in the administrator's folder
        QTest::addColumn<QString>("cause"); // "", "brltty" or the missing driver

        QTest::newRow("port present, brltty installed") << QByteArray("10c4") << QByteArray("ea60") << true
                                                        << brlttyByProduct << false << QString();
        QTest::newRow("taken by brltty") << QByteArray("10c4") << QByteArray("ea60") << false << brlttyByProduct
                                         << false << QStringLiteral("brltty");
        QTest::newRow("taken by brltty, older rules") << QByteArray("0403") << QByteArray("6001") << false
                                                      << brlttyByIds << false << QStringLiteral("brltty");
        QTest::newRow("brltty's rule turned off") << QByteArray("10c4") << QByteArray("ea60") << false
                                                  << brlttyByProduct << true << QStringLiteral("cp210x");
        QTest::newRow("brltty rules for another bridge") << QByteArray("0403") << QByteArray("6001") << false
                                                         << brlttyByProduct << false << QStringLiteral("ftdi_sio");
        QTest::newRow("no driver, no brltty") << QByteArray("0403") << QByteArray("6001") << false << QByteArray()
                                              << false << QStringLiteral("ftdi_sio");
    }

    void bridgeWithoutPort()
    {
        QFETCH(QByteArray, vendor);
        QFETCH(QByteArray, product);
        QFETCH(bool, withPort);
        QFETCH(QByteArray, brlttyRules);
        QFETCH(bool, turnedOff);
        QFETCH(QString, cause);

        MadeUpSystem system;
        QVERIFY(system.isValid());
        QVERIFY(system.plug(QStringLiteral("1-2"), vendor, product, withPort ? QStringLiteral("ttyUSB0") : QString()));
        QVERIFY(system.plug(QStringLiteral("1-3"), "046d", "c52b")); // a mouse, never a candidate
        if (!brlttyRules.isEmpty())
            QVERIFY(system.addRules(packageRules, brlttyFile, "# Device: " + vendor + '\n' + brlttyRules));
        if (turnedOff)
            QVERIFY(system.addRules(adminRules, brlttyFile, "# no braille display here"));

        const SystemFiles files(system.path());
        const BridgeDiagnosis diagnosis(files);
        const QString explanation = diagnosis.explanation();
        if (cause.isEmpty()) {
            QVERIFY(diagnosis.strandedBridges().isEmpty());
            QVERIFY2(explanation.isEmpty(), qPrintable(explanation));
            QVERIFY(PortDiagnosis::emptyListReason(files).startsWith(
                QStringLiteral("No serial port behind a supported USB bridge was found.")));
            return;
        }
        QCOMPARE(diagnosis.strandedBridges().size(), 1);
        const QString ids = QString::fromLatin1(vendor + ':' + product);
        QVERIFY2(explanation.contains(QStringLiteral("(USB %1) is plugged in but has no serial port").arg(ids)),
                 qPrintable(explanation));
        if (cause == QLatin1String("brltty")) {
            const QString rulesPath = system.path() + QLatin1Char('/') + packageRules + QLatin1Char('/') + brlttyFile;
            QVERIFY2(explanation.contains(QStringLiteral("the braille display service brltty has taken it, as its "
                                                         "rules in %1 tell it to").arg(rulesPath)),
                     qPrintable(explanation));
            QVERIFY(explanation.contains(QStringLiteral("sudo apt remove brltty")));
        } else {
            QVERIFY2(explanation.contains(QStringLiteral("the kernel driver %1 is missing or not loaded").arg(cause)),
                     qPrintable(explanation));
            QVERIFY(!explanation.contains(QStringLiteral("brltty")));
        }
        QCOMPARE(PortDiagnosis::emptyListReason(files), explanation);
    }

    void listsPortsFromTheDeviceTree()
    {
        MadeUpSystem system;
        QVERIFY(system.isValid());
        QVERIFY(system.plug(QStringLiteral("1-1"), "0403", "6001", QStringLiteral("ttyUSB3")));
        SystemFiles::setCurrent(SystemFiles(system.path()));
        const QList<QextPortInfo> ports = QextSerialEnumerator::getPorts();
        SystemFiles::setCurrent(SystemFiles());
        QCOMPARE(ports.size(), 1);
        QCOMPARE(ports.at(0).portName, system.devicePath(QStringLiteral("ttyUSB3")));
        QCOMPARE(ports.at(0).vendorID, 0x0403);
        QCOMPARE(ports.at(0).productID, 0x6001);
    }

    void accessRule_data()
    {
        QTest::addColumn<bool>("installed");
        QTest::addColumn<bool>("turnedOff");
        QTest::addColumn<QString>("reason");

        const QString replug = QStringLiteral(
            "No permission to use /dev/ttyUSB0: unplug the cable and plug it in again once, so that the access rule "
            "installed with Pacerow applies; or join the group \"dialout\" (sudo usermod -aG dialout $USER) and log "
            "in again.");
        const QString group = QStringLiteral(
            "No permission to use /dev/ttyUSB0: join the group \"dialout\" (sudo usermod -aG dialout $USER) and log in "
            "again.");
        QTest::newRow("rule installed") << true << false << replug;
        QTest::newRow("rule turned off by the administrator") << true << true << group;
        QTest::newRow("no rule") << false << false << group;
    }

    void accessRule()
    {
        QFETCH(bool, installed);
        QFETCH(bool, turnedOff);
        QFETCH(QString, reason);

        MadeUpSystem system;
        QVERIFY(system.isValid());
        const QString name = QLatin1String(BridgeDiagnosis::AccessRuleFile);
        if (installed)
            QVERIFY(system.addRules(packageRules, name, FileBytes::read(QStringLiteral(ACCESS_RULE_FILE)).trimmed()));
        if (turnedOff)
            QVERIFY(system.addRules(adminRules, name, "# the group decides here"));
        const bool hasRule = BridgeDiagnosis(SystemFiles(system.path())).hasAccessRule();
        QCOMPARE(hasRule, installed && !turnedOff);
        QCOMPARE(PortDiagnosis::permissionReason(QStringLiteral("/dev/ttyUSB0"), QStringLiteral("dialout"), hasRule),
                 reason);
    }
};

QTEST_GUILESS_MAIN(tst_BridgeDiagnosis)
#include "tst_bridgediagnosis.moc"
