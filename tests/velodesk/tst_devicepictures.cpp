// SPDX-License-Identifier: GPL-3.0-or-later
// The pictures compiled into the programs: one per catalogue model except the Lumo 70, each
// different from the others, and the 256 by 256 application icon.

#include "linkhub/ComConnection.h"

#include <QCryptographicHash>
#include <QImage>
#include <QSet>
#include <QTest>

class DevicePicturesTest : public QObject
{
    Q_OBJECT

private slots:
    void modelPicture_data();
    void modelPicture();
    void picturesTellModelsApart();
    void applicationIcon();

private:
    // The connection's own catalogue, as the connect page sees it; the pictures live in the device link.
    ComConnection connection;
    const DeviceCatalogue::Map &catalogue = connection.getCatalogue();
};

void DevicePicturesTest::modelPicture_data()
{
    QTest::addColumn<int>("modelId");
    QTest::addColumn<bool>("hasPicture");

    QTest::newRow("Lumo 10") << 0x11 << true;
    QTest::newRow("Lumo 20") << 0x21 << true;
    QTest::newRow("Lumo 30") << 0x12 << true;
    QTest::newRow("Lumo 40") << 0x22 << true;
    QTest::newRow("Lumo 50") << 0x23 << true;
    QTest::newRow("Lumo 60") << 0x51 << true;
    QTest::newRow("Lumo 70") << 0x61 << false;
}

void DevicePicturesTest::modelPicture()
{
    QFETCH(int, modelId);
    QFETCH(bool, hasPicture);

    const DeviceModel *model = catalogue.value(quint8(modelId));
    QVERIFY(model);
    const QImage picture(model->imagePath);
    QCOMPARE(!picture.isNull(), hasPicture);
    if (hasPicture) {
        QCOMPARE(picture.size(), QSize(400, 200));
        QVERIFY(picture.hasAlphaChannel());
        // The corners are background, the middle is the computer.
        QCOMPARE(qAlpha(picture.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(picture.pixel(200, 60)), 255);
    }
}

void DevicePicturesTest::picturesTellModelsApart()
{
    QSet<QByteArray> fingerprints;
    int pictures = 0;
    for (const DeviceModel *model : std::as_const(catalogue)) {
        const QImage picture(model->imagePath);
        if (picture.isNull())
            continue;
        ++pictures;
        const QImage pixels = picture.convertToFormat(QImage::Format_ARGB32);
        fingerprints.insert(QCryptographicHash::hash(
            QByteArrayView(pixels.constBits(), pixels.sizeInBytes()), QCryptographicHash::Sha256));
    }
    QCOMPARE(pictures, 6);
    QCOMPARE(fingerprints.size(), 6);
}

void DevicePicturesTest::applicationIcon()
{
    const QImage icon(QStringLiteral(":/icon.png"));
    QCOMPARE(icon.size(), QSize(256, 256));
}

QTEST_MAIN(DevicePicturesTest)
#include "tst_devicepictures.moc"
