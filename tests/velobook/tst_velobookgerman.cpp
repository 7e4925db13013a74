// SPDX-License-Identifier: GPL-3.0-or-later
// The logbook window in German: its tabs, menus, pages and dialogs show the German catalogue's
// texts whole, and no two keyboard accelerators a user reaches at once share a letter. Run under a
// German locale; with PACEROW_SCREENSHOT_DIR set it renews the German pictures.

#include "IsolatedSettings.h"
#include "LogbookFiller.h"
#include "support/FileBytes.h"
#include "support/Screenshot.h"
#include "support/TextFit.h"

#include "desktop/DesktopLanguage.h"
#include "logbook/BikeRegister.h"
#include "velobook/ImportChoiceDialog.h"
#include "velobook/LogbookWindow.h"
#include "velobook/NoteDialog.h"
#include "velobook/RidesTab.h"
#include "velobook/UnitChoice.h"

#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>

namespace {

// Rides every few days over the months before today, on both bikes, so that every chart has bars.
QList<RideEntry> recentRides()
{
    static const char *const notes[] = {"Gegenwind", "", "Vereinsausfahrt", "", "Regen", "Hügel", ""};
    const QDate today = QDate::currentDate();
    QList<RideEntry> rides;
    for (int i = 0; i < 40; ++i) {
        RideEntry ride = LogbookFiller::ride(today.addDays(-4 * i), 1 + i % 3 / 2, 21.5 + 6.7 * (i % 5),
                                             2900 + 350 * (i % 4), QString::fromUtf8(notes[i % 7]));
        ride.start = QDateTime(ride.date, QTime(7 + i % 11, 10 * i % 60));
        ride.setValue(RideValue::MaxSpeed, ride.value(RideValue::AvgSpeed) + 140);
        ride.setValue(RideValue::Ascent, 150 + 37 * (i % 9));
        ride.setValue(RideValue::AvgHeartRate, 118 + i % 20);
        ride.setValue(RideValue::Kcal, 450 + 31 * (i % 8));
        ride.odometer = quint64(5000 - 30 * i) * 1000000;
        rides << ride;
    }
    return rides;
}

// The accelerators that more than one of the texts claims, each as "Alt+X: text, text".
QStringList clashesAmong(const QStringList &texts)
{
    QMap<QString, QStringList> byKey;
    for (const QString &text : texts)
        if (const QKeySequence key = QKeySequence::mnemonic(text); !key.isEmpty())
            byKey[key.toString()] << text;
    QStringList clashes;
    for (auto it = byKey.cbegin(); it != byKey.cend(); ++it)
        if (it.value().size() > 1)
            clashes << it.key() + QStringLiteral(": ") + it.value().join(QStringLiteral(", "));
    return clashes;
}

// The clashes among the accelerators a user reaches at once: the visible controls' and the menu bar's.
QStringList acceleratorClashes(const QWidget &window)
{
    QStringList texts;
    for (const QLabel *label : window.findChildren<QLabel *>())
        if (label->isVisibleTo(&window))
            texts << label->text();
    for (const QAbstractButton *button : window.findChildren<QAbstractButton *>())
        if (button->isVisibleTo(&window))
            texts << button->text();
    for (const QTabBar *bar : window.findChildren<QTabBar *>())
        for (int i = 0; bar->isVisibleTo(&window) && i < bar->count(); ++i)
            texts << bar->tabText(i);
    if (const auto *menus = window.findChild<QMenuBar *>())
        for (const QAction *menu : menus->actions())
            texts << menu->text();
    return clashesAmong(texts);
}

QString shownHeading(const LogbookWindow &window)
{
    const QWidget *page = window.findChild<QStackedWidget *>()->currentWidget();
    return page->findChildren<QLabel *>().value(0)->text();
}

} // namespace

class tst_VelobookGerman : public QObject
{
    Q_OBJECT

private:
    IsolatedSettings settings;

private slots:
    void initTestCase()
    {
        QCOMPARE(QLocale::system().language(), QLocale::German);
        QVERIFY(settings.isIsolated());
        UnitChoice::setMiles(false);
        DesktopLanguage::install(QStringLiteral("velobook"), QLocale::system(),
                                 QStringLiteral(PACEROW_CATALOGUE_DIR));
    }

    void tabs_data()
    {
        QTest::addColumn<int>("tab");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("control");
        QTest::addColumn<QString>("label");

        QTest::newRow("rides") << 0 << "Fahrten" << "periodBox" << "&Zeitraum:";
        QTest::newRow("totals") << 1 << "Summen" << "periodKind" << "Summen &je:";
        QTest::newRow("bikes") << 2 << "Räder" << "serviceDay" << "&Gewartet am:";
    }

    void tabs()
    {
        QFETCH(int, tab);
        QFETCH(QString, title);
        QFETCH(QString, control);
        QFETCH(QString, label);

        LogbookFiller filler;
        QVERIFY(filler.add(recentRides()));
        BikeRegister bikes(filler.logbook());
        QVERIFY(!bikes.rename(QStringLiteral("Lumo 60"), 1, QStringLiteral("Rennrad")));
        QVERIFY(!bikes.setServiceDay(QStringLiteral("Lumo 60"), 1, QDate::currentDate().addMonths(-2)));
        LogbookWindow window(filler.path());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("logbookTabs"));
        tabs->setCurrentIndex(tab);
        // The tab in front reads the logbook as it comes forward, the sums under the rides a
        // moment later; the layouts follow their new texts.
        QTRY_VERIFY(window.ridesTab()->sumIsCurrent());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);

        QCOMPARE(window.windowTitle(), QStringLiteral("Pacerow Logbook"));
        QCOMPARE(tabs->tabText(tab), title);
        const QWidget *buddy = tabs->currentWidget()->findChild<QWidget *>(control);
        const QList<QLabel *> labels = tabs->currentWidget()->findChildren<QLabel *>();
        QVERIFY(std::any_of(labels.begin(), labels.end(),
                            [&](const QLabel *l) { return l->buddy() == buddy && l->text() == label; }));
        const QStringList cutOff = textsCutOff(window);
        QVERIFY2(cutOff.isEmpty(), qPrintable(cutOff.join(QLatin1Char('\n'))));
        const QStringList clashes = acceleratorClashes(window);
        QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join(QLatin1Char('\n'))));
        saveScreenshot(window, QStringLiteral("logbook-") + QLatin1String(QTest::currentDataTag()));
    }

    void pages_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("heading");
        QTest::addColumn<QString>("says");

        QTest::newRow("empty") << QByteArray() << "Noch keine Fahrten" << "enthält noch keine Fahrten";
        QTest::newRow("damaged") << QByteArray("not a logbook\n").repeated(100) << "Fahrtenbuch nicht geöffnet"
                                 << "ist beschädigt";
    }

    void pages()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, heading);
        QFETCH(QString, says);

        LogbookFiller filler;
        if (!bytes.isEmpty())
            QVERIFY(FileBytes::write(filler.path() + QStringLiteral(".damaged"), bytes));
        LogbookWindow window(bytes.isEmpty() ? filler.path() : filler.path() + QStringLiteral(".damaged"));
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(shownHeading(window), heading);
        const QList<QLabel *> labels = window.findChild<QStackedWidget *>()->currentWidget()->findChildren<QLabel *>();
        QVERIFY(std::any_of(labels.begin(), labels.end(), [&](const QLabel *l) { return l->text().contains(says); }));
        const QStringList cutOff = textsCutOff(window);
        QVERIFY2(cutOff.isEmpty(), qPrintable(cutOff.join(QLatin1Char('\n'))));
        const QStringList clashes = acceleratorClashes(window);
        QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join(QLatin1Char('\n'))));
    }

    // Each menu's entries have accelerators of their own, and the empty page's buttons are File menu
    // entries that its text names as the menu shows them.
    void menus()
    {
        LogbookFiller filler;
        LogbookWindow window(filler.path());
        QStringList titles;
        for (const QAction *menu : window.menuBar()->actions()) {
            titles << menu->text();
            QStringList entries;
            for (const QAction *entry : menu->menu()->actions())
                entries << entry->text();
            const QStringList clashes = clashesAmong(entries);
            QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join(QLatin1Char('\n'))));
        }
        QCOMPARE(titles, (QStringList{"&Datei", "&Bearbeiten", "&Ansicht"}));
        QStringList file;
        for (const QAction *entry : window.menuBar()->actions().constFirst()->menu()->actions())
            file << entry->text();
        const QWidget *page = window.findChild<QWidget *>(QStringLiteral("emptyPage"));
        const QList<QLabel *> labels = page->findChildren<QLabel *>();
        const QList<QPushButton *> buttons = page->findChildren<QPushButton *>();
        QCOMPARE(buttons.size(), 2);
        for (const QPushButton *button : buttons) {
            QVERIFY2(file.contains(button->text()), qPrintable(button->text()));
            const QString quoted = QStringLiteral("„%1“").arg(QString(button->text()).remove(QLatin1Char('&')));
            QVERIFY2(std::any_of(labels.begin(), labels.end(), [&](const QLabel *l) { return l->text().contains(quoted); }),
                     qPrintable(quoted));
        }
    }

    void dialogs()
    {
        ImportChoiceDialog choice({QStringLiteral("Lumo 60")}, 3);
        NoteDialog note(QStringLiteral("08.12.26, Rad 1, 28,2 km"), QString());
        QCOMPARE(choice.windowTitle(), QStringLiteral("CSV-Protokolle importieren"));
        QCOMPARE(note.windowTitle(), QStringLiteral("Notiz bearbeiten"));
        for (QDialog *dialog : std::initializer_list<QDialog *>{&choice, &note}) {
            dialog->show();
            QVERIFY(QTest::qWaitForWindowExposed(dialog));
            const QStringList cutOff = textsCutOff(*dialog);
            QVERIFY2(cutOff.isEmpty(), qPrintable(cutOff.join(QLatin1Char('\n'))));
            const QStringList clashes = acceleratorClashes(*dialog);
            QVERIFY2(clashes.isEmpty(), qPrintable(clashes.join(QLatin1Char('\n'))));
        }
    }
};

QTEST_MAIN(tst_VelobookGerman)
#include "tst_velobookgerman.moc"
