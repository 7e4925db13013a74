// SPDX-License-Identifier: GPL-3.0-or-later
#include "ChartReader.h"
#include "LogbookFiller.h"
#include "IsolatedSettings.h"
#include "logbook/CsvLogText.h"
#include "logbook/RawDatabase.h"
#include "support/FileBytes.h"
#include "velotool/VelotoolProcess.h"

#include "velobook/LogbookWindow.h"
#include "velobook/RideActions.h"
#include "velobook/RidesTab.h"
#include "velobook/UnitChoice.h"

#include "logbook/BikeRegister.h"
#include "logbook/RideListModel.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QAbstractButton>
#include <QAbstractSpinBox>
#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSignalSpy>
#include <QStackedWidget>
#include <QTabBar>
#include <QTabWidget>
#include <QTableView>
#include <QTest>
#include <QTimer>

namespace {

// Well past the watch's slowest way of noticing a commit.
constexpr std::chrono::milliseconds ShowWait{10000};

QString shownPage(const LogbookWindow &window)
{
    return window.findChild<QStackedWidget *>()->currentWidget()->objectName();
}

RideListModel *ridesOf(const LogbookWindow &window)
{
    return qobject_cast<RideListModel *>(window.ridesTab()->view()->model());
}

// More rides than a list reads at first, so that the list keeps its query open.
QList<RideEntry> moreRidesThanReadAtFirst()
{
    QList<RideEntry> rides;
    for (int day = 0; day < 300; ++day)
        rides << LogbookFiller::ride(QDate(2020, 1, 1).addDays(day), 1, 1.0);
    return rides;
}

QPushButton *button(const QWidget *page, const QString &accessibleName)
{
    for (QPushButton *candidate : page->findChildren<QPushButton *>())
        if (candidate->accessibleName() == accessibleName)
            return candidate;
    return nullptr;
}

// The controls a user reaches that a screen reader would not name; the parts inside a control count
// as the control.
QStringList unnamedControls(const QWidget *window)
{
    QStringList unnamed;
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        const bool control = qobject_cast<QAbstractButton *>(widget) || qobject_cast<QComboBox *>(widget)
            || qobject_cast<QAbstractSpinBox *>(widget) || qobject_cast<QLineEdit *>(widget)
            || qobject_cast<QAbstractItemView *>(widget) || qobject_cast<QTabWidget *>(widget);
        bool part = false;
        for (QWidget *up = widget->parentWidget(); up && up != window; up = up->parentWidget())
            part = part || qobject_cast<QComboBox *>(up) || qobject_cast<QAbstractSpinBox *>(up)
                || qobject_cast<QAbstractItemView *>(up) || qobject_cast<QTabBar *>(up) || qobject_cast<QLineEdit *>(up)
                || qobject_cast<QMenuBar *>(up);
        if (control && !part && widget->accessibleName().isEmpty())
            unnamed << QStringLiteral("%1 %2").arg(QLatin1String(widget->metaObject()->className()), widget->objectName());
    }
    return unnamed;
}

QList<RideEntry> dozenRides()
{
    static const char *const notes[] = {"Headwind", "", "Club ride", "", "Rain", "", "Hills", "", "Commute", "", "", "Long one"};
    QList<RideEntry> rides;
    for (int i = 0; i < 12; ++i) {
        RideEntry ride = LogbookFiller::ride(QDate(2026, 11, 2).addDays(3 * i), 1 + i % 2, 18.0 + 7.3 * (i % 5),
                                             2700 + 400 * (i % 4), QString::fromLatin1(notes[i]));
        ride.start = QDateTime(ride.date, QTime(7 + i % 10, 5 * i % 60), Qt::OffsetFromUTC, 3600);
        ride.setValue(RideValue::MaxSpeed, ride.value(RideValue::AvgSpeed) + 150);
        ride.setValue(RideValue::Ascent, 120 + 45 * i);
        ride.setValue(RideValue::AvgHeartRate, 120 + i);
        ride.setValue(RideValue::Kcal, 400 + 35 * i);
        rides << ride;
    }
    return rides;
}

} // namespace

class tst_LogbookWindow : public QObject
{
    Q_OBJECT

private:
    IsolatedSettings settings;

private slots:
    void initTestCase()
    {
        QVERIFY(settings.isIsolated());
    }

    void init() { UnitChoice::setMiles(false); }

    void emptyLogbookSaysHowRidesGetIn()
    {
        LogbookFiller filler;
        QVERIFY(filler.isOpen());
        LogbookWindow window(filler.path());
        QCOMPARE(shownPage(window), QStringLiteral("emptyPage"));
        QCOMPARE(unnamedControls(&window).join(","), QString());
        const QWidget *page = window.findChild<QWidget *>(QStringLiteral("emptyPage"));
        QVERIFY(button(page, QStringLiteral("Read bike computer")));
        QPushButton *import = button(page, QStringLiteral("Import CSV logs"));
        QVERIFY(import->isVisibleTo(page));

        // The actions on rides sit in File and Edit, each group apart.
        const auto texts = [](const QMenu *menu) {
            QStringList texts;
            for (const QAction *action : menu->actions())
                texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
            return texts.join(QLatin1Char('|'));
        };
        const QList<QAction *> menus = window.menuBar()->actions();
        QCOMPARE(texts(menus.at(0)->menu()),
                 QStringLiteral("&Import CSV logs…|&Export ride…|-|&Read bike computer…|-|&Quit"));
        QCOMPARE(texts(menus.at(1)->menu()), QStringLiteral("Undo|-|Edit &note…|&Delete|-|&Find in notes"));
        QAction *importLogs = menus.at(0)->menu()->actions().at(0);
        QSignalSpy imports(importLogs, &QAction::triggered);
        QTimer::singleShot(0, [] { QApplication::activeModalWidget()->close(); });
        import->click();
        QCOMPARE(imports.count(), 1);

        QVERIFY(filler.add({LogbookFiller::ride(QDate(2026, 6, 1), 1, 25.0)}));
        window.reload();
        QCOMPARE(shownPage(window), QStringLiteral("logbookTabs"));
        QCOMPARE(ridesOf(window)->rowCount(), 1);
    }

    void unopenableLogbookIsLeftAsItWas_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("damaged") << QByteArray("not a logbook\n").repeated(100);
        QTest::newRow("newer version") << QByteArray();
    }

    void unopenableLogbookIsLeftAsItWas()
    {
        QFETCH(QByteArray, bytes);
        QTemporaryDir folder;
        const QString path = folder.filePath(QStringLiteral("logbook.sqlite"));
        if (bytes.isEmpty()) {
            {
                Logbook logbook(path);
                QVERIFY(!logbook.open());
            }
            RawDatabase raw(path);
            QVERIFY(raw.run(QStringLiteral("PRAGMA user_version = 99")));
        } else {
            QVERIFY(FileBytes::write(path, bytes));
        }
        const QByteArray before = FileBytes::read(path);
        const QStringList files = QDir(folder.path()).entryList(QDir::Files);
        {
            LogbookWindow window(path);
            window.show();
            QVERIFY(QTest::qWaitForWindowExposed(&window));
            QCOMPARE(shownPage(window), QStringLiteral("failurePage"));
            QVERIFY(!window.ridesTab());
            const QList<QLabel *> labels = window.findChild<QWidget *>(QStringLiteral("failurePage"))->findChildren<QLabel *>();
            QVERIFY(std::any_of(labels.begin(), labels.end(), [&](QLabel *label) { return label->text().contains(path); }));
        }
        QCOMPARE(FileBytes::read(path), before);
        QCOMPARE(QDir(folder.path()).entryList(QDir::Files), files);
    }

    // More rides than a list reads at once, so the window's list is still open on the file.
    void rideRecordedByAnotherProcessAppears()
    {
        LogbookFiller filler;
        QList<RideEntry> rides;
        for (int i = 0; i < 300; ++i)
            rides << LogbookFiller::ride(QDate(2020, 1, 1).addDays(i), 1, 20.0);
        QVERIFY(filler.add(rides));
        LogbookWindow window(filler.path());
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(ridesOf(window)->entry(0).date, QDate(2020, 1, 1).addDays(299));

        const QString log = QDir(QFileInfo(filler.path()).absolutePath()).filePath(QStringLiteral("rides.csv"));
        QVERIFY(FileBytes::write(log, csvLogText(2)));
        const VelotoolRun run = VelotoolProcess::run({"logbook", "import", "--logbook", filler.path(), log});
        QVERIFY2(run.exitCode == 0, qPrintable(run.err));
        QTRY_COMPARE_WITH_TIMEOUT(ridesOf(window)->entry(0).date, QDate(2024, 3, 2), int(ShowWait.count()));
        QTRY_VERIFY(window.ridesTab()->sumIsCurrent());
        QCOMPARE(window.ridesTab()->sum().rides, 302);
    }

    void unitsChosenInTheViewMenu_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<bool>("miles");
        QTest::addColumn<QString>("header");
        QTest::newRow("miles") << QStringLiteral("&Miles") << true << QStringLiteral("Distance (mi)");
        QTest::newRow("kilometres") << QStringLiteral("&Kilometres") << false << QStringLiteral("Distance (km)");
    }

    void unitsChosenInTheViewMenu()
    {
        QFETCH(QString, action);
        QFETCH(bool, miles);
        QFETCH(QString, header);
        UnitChoice::setMiles(!miles);
        LogbookFiller filler;
        QVERIFY(filler.add({LogbookFiller::ride(QDate(2026, 6, 1), 1, 25.0)}));
        LogbookWindow window(filler.path());
        const QList<QAction *> actions = window.findChildren<QAction *>();
        const auto chosen = std::find_if(actions.begin(), actions.end(), [&](QAction *a) { return a->text() == action; });
        QVERIFY(chosen != actions.end());
        QVERIFY(!(*chosen)->isChecked());
        (*chosen)->trigger();
        QCOMPARE(UnitChoice::current().isMetric(), !miles);
        QCOMPARE(ridesOf(window)->headerData(RideListModel::DistanceColumn, Qt::Horizontal).toString(), header);
    }

    void wizardThatCannotStartIsReported()
    {
        LogbookFiller filler;
        LogbookWindow window(filler.path());
        const QList<QAction *> actions = window.findChildren<QAction *>();
        const auto read = std::find_if(actions.begin(), actions.end(),
                                       [](QAction *a) { return a->text() == QStringLiteral("&Read bike computer…"); });
        QVERIFY(read != actions.end());
        // Neither beside the tests nor on an empty path.
        QTemporaryDir nowhere;
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", QFile::encodeName(nowhere.path()));
        QString shown;
        QTimer::singleShot(0, [&] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                shown = box->text();
                box->accept();
            }
        });
        (*read)->trigger();
        qputenv("PATH", path);
        QVERIFY2(shown.contains(QStringLiteral("velodesk")), qPrintable(shown));
    }

    void hiddenTabIsReadWhenShown()
    {
        const auto shownDistance = [](QWidget *totals) {
            const QBarSet *distances = ChartReader::barSet(totals, QStringLiteral("distanceChart"));
            return distances && distances->count() > 0 ? distances->at(distances->count() - 1) : -1.0;
        };
        const QDate today = QDate::currentDate();
        LogbookFiller filler;
        QVERIFY(filler.add(moreRidesThanReadAtFirst() << LogbookFiller::ride(today, 1, 10.0)));
        LogbookWindow window(filler.path());
        auto *tabs = window.findChild<QTabWidget *>(QStringLiteral("logbookTabs"));
        QWidget *totals = tabs->widget(1);
        QCOMPARE(shownDistance(totals), -1.0);
        tabs->setCurrentWidget(totals);
        QCOMPARE(shownDistance(totals), 10.0);

        // Another program's rides, with the totals in front and then behind the rides.
        QVERIFY(filler.add({LogbookFiller::ride(today, 2, 5.0)}));
        window.reload();
        QCOMPARE(shownDistance(totals), 15.0);
        tabs->setCurrentIndex(0);
        RideEntry otherDevice = LogbookFiller::ride(today, 1, 2.5);
        otherDevice.device = QStringLiteral("Lumo 40");
        QVERIFY(filler.add({otherDevice}));
        window.reload();
        QCOMPARE(shownDistance(totals), 15.0);
        tabs->setCurrentWidget(totals);
        QCOMPARE(shownDistance(totals), 17.5);
    }

    void logbookGoneWhileOpenIsLeftAlone_data()
    {
        QTest::addColumn<bool>("replaced");
        QTest::newRow("deleted") << false;
        QTest::newRow("replaced") << true;
    }

    void logbookGoneWhileOpenIsLeftAlone()
    {
        QFETCH(bool, replaced);
        LogbookFiller filler, other;
        QVERIFY(filler.add({LogbookFiller::ride(QDate(2026, 6, 1), 1, 25.0)}));
        LogbookWindow window(filler.path());
        for (const char *suffix : {"", "-wal", "-shm"})
            QFile::remove(filler.path() + QLatin1String(suffix));
        if (replaced)
            QVERIFY(QFile::copy(other.path(), filler.path()));
        QTRY_COMPARE_WITH_TIMEOUT(shownPage(window), QStringLiteral("failurePage"), int(ShowWait.count()));
        QVERIFY(window.findChild<QWidget *>(QStringLiteral("failurePage"))
                    ->findChildren<QLabel *>()
                    .constLast()
                    ->text()
                    .contains(QStringLiteral("moved, replaced or deleted")));
        // Nothing is left that could write into the file that went.
        QVERIFY(!window.logbook());
        QVERIFY(!window.ridesTab());
        QVERIFY(window.findChildren<RideActions *>().isEmpty());
    }

    void changeAfterAnotherProgramsRide()
    {
        LogbookFiller filler;
        QVERIFY(filler.add(moreRidesThanReadAtFirst()));
        LogbookWindow window(filler.path());
        QVERIFY(filler.add({LogbookFiller::ride(QDate::currentDate(), 2, 5.0)}));
        // Before the window has heard of that ride, a change made in it still goes in.
        QCOMPARE(BikeRegister(*window.logbook()).rename(QStringLiteral("Lumo 60"), 1, QStringLiteral("Road bike")),
                 std::nullopt);
    }

    void showsTheRidesOfALogbook()
    {
        LogbookFiller filler;
        QVERIFY(filler.add(dozenRides()));
        LogbookWindow window(filler.path());
        window.resize(900, 600);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.windowTitle(), QStringLiteral("Pacerow Logbook"));
        QCOMPARE(unnamedControls(&window).join(","), QString());
        QVERIFY(!window.windowIcon().isNull());
        QCOMPARE(ridesOf(window)->rowCount(), 12);
        window.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QTest::keyClick(&window, Qt::Key_F, Qt::ControlModifier);
        QTRY_VERIFY(window.findChild<QLineEdit *>(QStringLiteral("searchEdit"))->hasFocus());
        const QString folder = qEnvironmentVariable("PACEROW_SCREENSHOT_DIR");
        if (!folder.isEmpty()) {
            QDir().mkpath(folder);
            QVERIFY(window.grab().save(QDir(folder).filePath(QStringLiteral("logbook-rides.png"))));
        }
    }
};

QTEST_MAIN(tst_LogbookWindow)
#include "tst_logbookwindow.moc"
