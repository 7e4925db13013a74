// SPDX-License-Identifier: GPL-3.0-or-later
#include "LocalPortalCertificate.h"
#include "RawRecordBytes.h"
#include "velodesk/MessageBoxAnswerer.h"

#include "outpost/SporticsUploader.h"
#include "outpost/UploadDialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLayout>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

namespace {

constexpr int PatientMs = 30000;

} // namespace

class tst_UploadDialog : public QObject
{
    Q_OBJECT

private:
    LocalPortalCertificate certificate;
    std::unique_ptr<LocalHttpsServer> server;
    std::unique_ptr<UploadDialog> dialog;

    template<typename Widget>
    Widget *child(const char *name) const
    {
        return dialog->findChild<Widget *>(QLatin1String(name));
    }

    QProgressBar *bar() const { return child<QProgressBar>("progressBar"); }
    QLabel *status() const { return child<QLabel>("statusLabel"); }

    void pressOk(const QString &user, const QString &password)
    {
        child<QLineEdit>("userLineEdit")->setText(user);
        child<QLineEdit>("passwordLineEdit")->setText(password);
        child<QDialogButtonBox>("buttonBox")->button(QDialogButtonBox::Ok)->click();
    }

private slots:
    void initTestCase()
    {
        certificate.make();
    }

    void init()
    {
        QVERIFY(certificate.startServer(server));
        dialog = std::make_unique<UploadDialog>(
            RawRecordBytes::header(QDateTime(QDate(2026, 7, 1), QTime(10, 0)), 1) + RawRecordBytes::sample(255));
        certificate.trust(*dialog->uploader(), *server);
        dialog->show();
        QVERIFY(QTest::qWaitForWindowExposed(dialog.get()));
    }

    void cleanup()
    {
        dialog.reset();
        server.reset();
        QVERIFY(QApplication::topLevelWidgets().isEmpty());
    }

    void idleFormAsDesigned()
    {
        QCOMPARE(dialog->windowTitle(), QStringLiteral("Upload"));
        QCOMPARE(dialog->size(), QSize(211, 143));
        QCOMPARE(child<QLabel>("label")->text(), QStringLiteral("Username:"));
        QCOMPARE(child<QLabel>("label")->buddy(), child<QLineEdit>("userLineEdit"));
        QCOMPARE(child<QLabel>("label_2")->text(), QStringLiteral("Password:"));
        QCOMPARE(child<QLabel>("label_2")->buddy(), child<QLineEdit>("passwordLineEdit"));
        QCOMPARE(child<QLineEdit>("passwordLineEdit")->echoMode(), QLineEdit::Password);
        QVERIFY(!status()->isVisible());
        QVERIFY(!bar()->isVisible());
        QVERIFY(dialog->findChild<QLayout *>(QStringLiteral("gridLayout_2")));
        QVERIFY(dialog->findChild<QLayout *>(QStringLiteral("verticalLayout")));
    }

    void busyWhileUploadingAndCancelAborts()
    {
        server->setStatus(0);
        MessageBoxAnswerer boxes;
        pressOk(QStringLiteral("abc"), QStringLiteral("secret"));
        QVERIFY(status()->isVisible());
        QCOMPARE(status()->text(), QStringLiteral("Uploading ..."));
        QVERIFY(bar()->isVisible());
        QCOMPARE(bar()->minimum(), 0);
        QCOMPARE(bar()->maximum(), 0);
        QTRY_COMPARE_WITH_TIMEOUT(server->requests().size(), 1, PatientMs);
        QVERIFY(dialog->uploader()->isBusy());
        child<QDialogButtonBox>("buttonBox")->button(QDialogButtonBox::Cancel)->click();
        QVERIFY(!dialog->isVisible());
        QCOMPARE(dialog->result(), int(QDialog::Rejected));
        QVERIFY(!dialog->uploader()->isBusy());
        QTest::qWait(200);
        QCOMPARE(boxes.boxes().size(), 0);
    }

    void successTellsAndCloses()
    {
        server->setStatus(201);
        MessageBoxAnswerer boxes;
        pressOk(QStringLiteral("abc"), QStringLiteral("secret"));
        QTRY_VERIFY_WITH_TIMEOUT(!dialog->isVisible(), PatientMs);
        QCOMPARE(dialog->result(), int(QDialog::Accepted));
        QCOMPARE(boxes.boxes().size(), 1);
        QCOMPARE(boxes.boxes()[0].title, QStringLiteral("Upload Complete"));
        QCOMPARE(boxes.boxes()[0].text, QStringLiteral("Upload completed successfully!"));
        QCOMPARE(boxes.boxes()[0].icon, QMessageBox::Information);
        QCOMPARE(bar()->maximum(), 1);
        QCOMPARE(bar()->value(), 1);
    }

    void failureTellsAndStaysOpen()
    {
        server->setStatus(401);
        MessageBoxAnswerer boxes;
        pressOk(QStringLiteral("abc"), QStringLiteral("wrong"));
        QTRY_COMPARE_WITH_TIMEOUT(boxes.boxes().size(), 1, PatientMs);
        QCOMPARE(boxes.boxes()[0].title, QStringLiteral("Upload failed"));
        QCOMPARE(boxes.boxes()[0].text, QStringLiteral("Upload Failed! Please check your inputs."));
        QCOMPARE(boxes.boxes()[0].icon, QMessageBox::Critical);
        QVERIFY(dialog->isVisible());
        QCOMPARE(bar()->maximum(), 1);
        QCOMPARE(bar()->value(), 0);
        // Another try with corrected inputs goes out as a new upload.
        server->setStatus(201);
        pressOk(QStringLiteral("abc"), QStringLiteral("right"));
        QTRY_VERIFY_WITH_TIMEOUT(!dialog->isVisible(), PatientMs);
        QCOMPARE(server->requests().size(), 2);
    }
};

QTEST_MAIN(tst_UploadDialog)
#include "tst_uploaddialog.moc"
