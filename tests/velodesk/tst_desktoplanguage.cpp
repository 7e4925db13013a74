// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/DesktopLanguage.h"

#include <QCoreApplication>
#include <QTest>
#include <QTranslator>

// The language the desktop programs speak follows the locale: German where a catalogue is,
// English, the source language, wherever none is.
class tst_DesktopLanguage : public QObject
{
    Q_OBJECT

private slots:
    void followsTheLocale_data()
    {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("connectTitle");
        QTest::newRow("C") << "C" << "Connect to computer";
        QTest::newRow("English") << "en_GB" << "Connect to computer";
        QTest::newRow("German") << "de_DE" << "Mit dem Fahrradcomputer verbinden";
        QTest::newRow("French, no catalogue") << "fr_FR" << "Connect to computer";
    }

    void followsTheLocale()
    {
        QFETCH(QString, locale);
        QFETCH(QString, connectTitle);
        DesktopLanguage::install(QStringLiteral("velodesk"), QLocale(locale), QStringLiteral(PACEROW_CATALOGUE_DIR));
        QCOMPARE(QCoreApplication::translate("ComPortPage", "Connect to computer"), connectTitle);
    }

    void cleanup()
    {
        for (QTranslator *translator : QCoreApplication::instance()->findChildren<QTranslator *>()) {
            QCoreApplication::removeTranslator(translator);
            delete translator;
        }
    }
};

QTEST_GUILESS_MAIN(tst_DesktopLanguage)
#include "tst_desktoplanguage.moc"
