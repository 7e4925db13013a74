// SPDX-License-Identifier: GPL-3.0-or-later
#include "linkhub/ComConnection.h"
#include "linkhub/ComListModel.h"
#include "linkhub/QextSerialEnumerator.h"

#include <QSignalSpy>
#include <QTest>

using PortList = QList<QextPortInfo>;

namespace {
QextPortInfo port(const QString &name, int vendor, int product)
{
    QextPortInfo info;
    info.portName = name;
    info.vendorID = vendor;
    info.productID = product;
    return info;
}

QStringList names(const PortList &ports)
{
    QStringList result;
    for (const QextPortInfo &info : ports)
        result << info.portName;
    return result;
}
}

class tst_ComListModel : public QObject
{
    Q_OBJECT

private:
    PortList systemPorts;

private slots:
    void init()
    {
        QextSerialEnumerator::setPortSource([this] { return systemPorts; });
    }

    void cleanup() { QextSerialEnumerator::setPortSource({}); }

    void filter_data()
    {
        QTest::addColumn<PortList>("ports");
        QTest::addColumn<QStringList>("listed");

        QTest::newRow("none") << PortList{} << QStringList();
        QTest::newRow("FTDI") << PortList{port("/dev/ttyUSB0", 0x0403, 0x6001)} << QStringList{"/dev/ttyUSB0"};
        QTest::newRow("CP210x") << PortList{port("/dev/ttyUSB1", 0x10C4, 0xEA60)} << QStringList{"/dev/ttyUSB1"};
        QTest::newRow("ids of two bridges mixed")
            << PortList{port("/dev/ttyUSB0", 0x0403, 0xEA60), port("/dev/ttyUSB1", 0x10C4, 0x6001)} << QStringList();
        QTest::newRow("built-in port and other USB device")
            << PortList{port("/dev/ttyS0", 0, 0), port("/dev/ttyACM0", 0x2341, 0x0043)} << QStringList();
        QTest::newRow("two bridges keep the system's order")
            << PortList{port("/dev/ttyUSB3", 0x10C4, 0xEA60), port("/dev/ttyS0", 0, 0),
                        port("/dev/ttyUSB1", 0x0403, 0x6001)}
            << QStringList{"/dev/ttyUSB3", "/dev/ttyUSB1"};
    }

    void filter()
    {
        QFETCH(PortList, ports);
        systemPorts = ports;
        QTEST(names(ComConnection::getSupportedComs()), "listed");
        ComListModel model;
        QFETCH(QStringList, listed);
        QCOMPARE(model.rowCount(), listed.size());
        for (int row = 0; row < listed.size(); ++row) {
            QCOMPARE(model.data(model.index(row, 0)).toString(), listed.at(row));
            QCOMPARE(model.getPort(row).portName, listed.at(row));
        }
    }

    void dataRoles()
    {
        systemPorts = {port("/dev/ttyUSB0", 0x0403, 0x6001)};
        ComListModel model;
        const QModelIndex first = model.index(0, 0);
        QCOMPARE(model.data(first, Qt::DisplayRole), QVariant(QStringLiteral("/dev/ttyUSB0")));
        QVERIFY(!model.data(first, Qt::EditRole).isValid());
        QVERIFY(!model.data(first, Qt::ToolTipRole).isValid());
        QVERIFY(!model.data(model.index(1, 0)).isValid());
        QVERIFY(!model.data(QModelIndex()).isValid());
        QCOMPARE(int(model.flags(first)), 0x21);
        QCOMPARE(model.getPort(0).vendorID, 0x0403);
    }

    void refreshFollowsThePlugs()
    {
        systemPorts = {port("/dev/ttyUSB0", 0x0403, 0x6001)};
        ComListModel model;
        QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
        systemPorts.append(port("/dev/ttyUSB1", 0x10C4, 0xEA60));
        model.refresh();
        QCOMPARE(model.rowCount(), 2);
        QCOMPARE(model.data(model.index(1, 0)).toString(), QStringLiteral("/dev/ttyUSB1"));
        systemPorts.clear();
        model.refresh();
        QCOMPARE(model.rowCount(), 0);
        QCOMPARE(resets.count(), 2);
    }
};

QTEST_GUILESS_MAIN(tst_ComListModel)
#include "tst_comlistmodel.moc"
