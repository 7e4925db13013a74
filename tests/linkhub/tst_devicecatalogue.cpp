// SPDX-License-Identifier: GPL-3.0-or-later
#include "linkhub/DeviceCatalogue.h"
#include "linkhub/SupportedModels.h"

#include <QTest>

using IntList = QVector<int>;

class tst_DeviceCatalogue : public QObject
{
    Q_OBJECT

private:
    DeviceCatalogue::Map catalogue;

private slots:
    void initTestCase() { catalogue = DeviceCatalogue::build(); }
    void cleanupTestCase() { DeviceCatalogue::release(catalogue); }

    void holdsSevenRowsOrderedById()
    {
        QCOMPARE(catalogue.keys(), (QList<unsigned char>{0x11, 0x12, 0x21, 0x22, 0x23, 0x51, 0x61}));
        for (auto it = catalogue.cbegin(); it != catalogue.cend(); ++it)
            QCOMPARE(it.value()->id, it.key());
    }

    void rows_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("family");
        QTest::addColumn<int>("baud");
        QTest::addColumn<int>("bikes");
        QTest::addColumn<bool>("hasDate");
        QTest::addColumn<QString>("image");
        QTest::addColumn<IntList>("sizes"); // groups 0x8x .. 0xFx
        QTest::addColumn<IntList>("requests");
        QTest::addColumn<int>("mask");

        const QString root = ":/rc/resources/device_images/";
        QTest::newRow("Lumo 10") << 0x11 << "Lumo 10" << "common" << 600 << 1 << false << root + "Lumo10_fa.png"
                                 << IntList{-1, -1, -1, -1, 7, 8, 3, -1} << IntList{0x41, 0x51, 0x61} << 0x128;
        QTest::newRow("Lumo 20") << 0x21 << "Lumo 20" << "common" << 9600 << 2 << true << root + "Lumo20_fa.png"
                                 << IntList{-1, -1, 1, -1, 7, 25, 5, -1}
                                 << IntList{0x41, 0x21, 0x53, 0x55, 0x61} << 0x7FA;
        QTest::newRow("Lumo 30") << 0x12 << "Lumo 30" << "common" << 600 << 1 << false << root + "Lumo30_fa.png"
                                 << IntList{-1, -1, -1, -1, 7, 8, 3, -1} << IntList{0x41, 0x51, 0x61} << 0x128;
        QTest::newRow("Lumo 40") << 0x22 << "Lumo 40" << "common" << 9600 << 2 << true << root + "Lumo40_fa.png"
                                 << IntList{-1, -1, 1, 23, 7, 25, 5, -1}
                                 << IntList{0x41, 0x21, 0x31, 0x53, 0x55, 0x61} << 0x7FE;
        QTest::newRow("Lumo 50") << 0x23 << "Lumo 50" << "common" << 9600 << 2 << true << root + "Lumo50A_fa.png"
                                 << IntList{-1, 53, 1, 23, 7, 25, 5, -1}
                                 << IntList{0x13, 0x21, 0x31, 0x41, 0x53, 0x55, 0x61} << 0xFFF;
        QTest::newRow("Lumo 60") << 0x51 << "Lumo 60" << "lumo60" << 9600 << 2 << true << root + "Lumo60A_fa.png"
                                 << IntList{-1, 53, 1, 23, 7, 26, 5, -1}
                                 << IntList{0x13, 0x21, 0x31, 0x41, 0x53, 0x55, 0x61, 0x65} << 0x1FFF;
        QTest::newRow("Lumo 70") << 0x61 << "Lumo 70" << "lumo70" << 9600 << 2 << true
                                 << root + "VELQUIST LUMO 70.png" << IntList{-1, 5, 1, 8, 7, 16, 5, -1}
                                 << IntList{0x13, 0x21, 0x31, 0x41, 0x53, 0x55, 0x61} << 0xFFF;
    }

    void rows()
    {
        QFETCH(int, id);
        const DeviceModel *row = catalogue.value(id);
        QVERIFY(row);
        QTEST(row->name, "name");
        QTEST(row->familyTag, "family");
        QTEST(int(row->baudRate), "baud");
        QTEST(row->bikeCount, "bikes");
        QTEST(row->hasDate, "hasDate");
        QTEST(row->imagePath, "image");
        QFETCH(IntList, sizes);
        for (int group = 0; group < 8; ++group) {
            QCOMPARE(row->answerSizes[group], sizes.at(group));
            QCOMPARE(row->answerSize(0x80 | (group << 4) | 1), sizes.at(group));
        }
        QTEST(row->requestCommands, "requests");
        QTEST(row->availableMask, "mask");
    }

    void availableMask_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("mask");
        QTest::addColumn<bool>("unknown");
        QTest::newRow("0x12") << 0x12 << 0x128 << false;
        QTest::newRow("0x13 between two known ids") << 0x13 << 0 << true;
        QTest::newRow("0x00") << 0x00 << 0 << true;
        QTest::newRow("0xff") << 0xff << 0 << true;
        QTest::newRow("0x61") << 0x61 << 0xFFF << false;
    }

    void availableMask()
    {
        QFETCH(int, id);
        QFETCH(bool, unknown);
        if (unknown)
            QTest::ignoreMessage(QtCriticalMsg,
                                 qPrintable(QStringLiteral("Unknown Model:  \"%1\"").arg(id, 0, 16)));
        QTEST(DeviceModel::getAvailableMask(id), "mask");
    }

    void firmwareFigures_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<int>("appSize");
        QTest::addColumn<int>("blockCount");
        QTest::addColumn<int>("startOffset");
        for (int id : {0x11, 0x21, 0x12, 0x22, 0x23, 0x61})
            QTest::addRow("0x%x", id) << id << 0xC000 << 24 << 0x4000;
        QTest::newRow("0x51") << 0x51 << 0xE000 << 28 << 0x2000;
    }

    void firmwareFigures()
    {
        QFETCH(int, id);
        const DeviceModel *row = catalogue.value(id);
        QTEST(row->fwAppSize, "appSize");
        QTEST(row->fwBlockCount, "blockCount");
        QTEST(row->fwStartOffset, "startOffset");
        QCOMPARE(row->fwBlockSize, 0x800);
        QCOMPARE(row->fwBlockCount * row->fwBlockSize, row->fwAppSize);
        QCOMPARE(row->fwAppSize, 0x10000 - row->fwStartOffset);
    }

    void supportAndMinimumFirmware_data()
    {
        QTest::addColumn<int>("id");
        QTest::addColumn<bool>("supported");
        QTest::addColumn<int>("minimum");
        QTest::newRow("Lumo 10") << 0x11 << false << 30;
        QTest::newRow("Lumo 20") << 0x21 << true << 30;
        QTest::newRow("Lumo 30") << 0x12 << false << 30;
        QTest::newRow("Lumo 40") << 0x22 << true << 30;
        QTest::newRow("Lumo 50") << 0x23 << true << 30;
        QTest::newRow("Lumo 60") << 0x51 << true << 12;
        QTest::newRow("Lumo 70") << 0x61 << false << 0;
    }

    void supportAndMinimumFirmware()
    {
        QFETCH(int, id);
        QFETCH(int, minimum);
        QTEST(SupportedModels::isSupported(id), "supported");
        QCOMPARE(SupportedModels::minimumFirmware().value(id, -1), minimum);
        QVERIFY(SupportedModels::isFirmwareAccepted(id, minimum));
        if (minimum > 0)
            QVERIFY(!SupportedModels::isFirmwareAccepted(id, minimum - 1));
        QVERIFY(catalogue.contains(id));
    }
};

QTEST_GUILESS_MAIN(tst_DeviceCatalogue)
#include "tst_devicecatalogue.moc"
