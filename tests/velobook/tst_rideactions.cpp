// SPDX-License-Identifier: GPL-3.0-or-later
// The actions on the rides of the logbook window, driven through a plain table of its rides.
#include "IsolatedSettings.h"
#include "LogbookFiller.h"
#include "ModalAnswerer.h"
#include "logbook/CsvLogText.h"
#include "logbook/SameRide.h"
#include "support/FileBytes.h"
#include "velodesk/MessageBoxAnswerer.h"

#include "velobook/ImportChoiceDialog.h"
#include "velobook/NoteDialog.h"
#include "velobook/RideActions.h"

#include "logbook/RideListModel.h"
#include "logbook/RideQuery.h"

#include <QAction>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDropEvent>
#include <QFileDialog>
#include <QLineEdit>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSettings>
#include <QSignalSpy>
#include <QSqlQuery>
#include <QStandardPaths>
#include <QTableView>
#include <QTest>

#include <memory>

namespace {

const QDate Monday(2026, 12, 7);
const QDate Tuesday(2026, 12, 8);
const QDate Sunday(2026, 12, 6);

RideEntry importedRide()
{
    RideEntry ride = LogbookFiller::ride(Monday, 2, 12.5);
    ride.device.clear();
    ride.model.clear();
    ride.source = RideEntry::Source::Csv;
    return ride;
}

/// Files dropped on a widget, as a file manager offers them.
QMimeData *dropped(const QList<QUrl> &urls)
{
    auto *data = new QMimeData;
    data->setUrls(urls);
    return data;
}

} // namespace

class tst_RideActions : public QObject
{
    Q_OBJECT

private:
    IsolatedSettings settings;
    std::unique_ptr<QTemporaryDir> exportFolder;
    std::unique_ptr<LogbookFiller> filler;
    std::unique_ptr<QWidget> window;
    QTableView *view = nullptr;
    RideListModel *model = nullptr;
    RideActions *actions = nullptr;

    int rowOf(const QDate &day) const
    {
        for (int row = 0; row < model->rowCount(); ++row)
            if (model->entry(row).date == day)
                return row;
        return -1;
    }

    void select(const QList<QDate> &days)
    {
        view->clearSelection();
        for (const QDate &day : days)
            view->selectionModel()->select(model->index(rowOf(day), 0),
                                           QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }

private slots:
    void initTestCase()
    {
        QStandardPaths::setTestModeEnabled(true);
        QVERIFY(settings.isIsolated());
    }

    void init()
    {
        exportFolder = std::make_unique<QTemporaryDir>();
        QSettings().setValue(QStringLiteral("export/last_folder"), exportFolder->path());
        filler = std::make_unique<LogbookFiller>();
        QVERIFY(filler->isOpen());
        RideEntry tuesday = LogbookFiller::ride(Tuesday, 1, 42.2, 5400, QStringLiteral("Col du Galibier"));
        tuesday.start = QDateTime(Tuesday, QTime(9, 30));
        tuesday.odometer = 1234500000;
        QVERIFY(filler->add({LogbookFiller::ride(Sunday, 1, 20.5), importedRide(), tuesday}));
        window = std::make_unique<QWidget>();
        model = new RideListModel(filler->logbook(), window.get());
        model->show({});
        view = new QTableView(window.get());
        view->setModel(model);
        view->setSelectionBehavior(QAbstractItemView::SelectRows);
        actions = new RideActions(filler->logbook(), view, window.get());
    }

    void cleanup()
    {
        window.reset(); // the list before its logbook
        filler.reset();
    }

    void enabledStatesFollowSelection_data()
    {
        QTest::addColumn<QList<QDate>>("selected");
        QTest::addColumn<bool>("one");
        QTest::addColumn<bool>("any");
        QTest::newRow("none") << QList<QDate>{} << false << false;
        QTest::newRow("one") << QList<QDate>{Sunday} << true << true;
        QTest::newRow("two") << QList<QDate>{Sunday, Tuesday} << false << true;
    }

    void enabledStatesFollowSelection()
    {
        QFETCH(QList<QDate>, selected);
        QFETCH(bool, one);
        QFETCH(bool, any);
        select(selected);
        QCOMPARE(actions->exportRide()->isEnabled(), one);
        QCOMPARE(actions->editNote()->isEnabled(), one);
        QCOMPARE(actions->deleteRide()->isEnabled(), any);
        QVERIFY(!actions->undo()->isEnabled());
        QVERIFY(actions->importLogs()->isEnabled());
        model->show({});
        QVERIFY(!actions->deleteRide()->isEnabled());
    }

    void exportsSelectedRide_data()
    {
        QTest::addColumn<QDate>("day");
        QTest::addColumn<int>("fileType"); // the file type picked: 0 FIT, 1 CSV
        QTest::addColumn<QString>("proposed"); // empty: refused before any file is asked for
        QTest::addColumn<QByteArray>("mark");
        QTest::addColumn<int>("markAt"); // -1 anywhere
        QTest::newRow("FIT") << Tuesday << 0 << "lumo60-2026-12-08-bike1.fit" << QByteArray(".FIT") << 8;
        QTest::newRow("CSV") << Tuesday << 1 << "lumo60-bike1.csv" << QByteArray("; 42.200; ") << -1;
        QTest::newRow("imported, of no known model") << Monday << 0 << QString() << QByteArray() << 0;
    }

    void exportsSelectedRide()
    {
        QFETCH(QDate, day);
        QFETCH(int, fileType);
        QFETCH(QString, proposed);
        QFETCH(QByteArray, mark);
        QFETCH(int, markAt);
        QStringList offered;
        ModalAnswerer<QFileDialog> files([&](QFileDialog *dialog) {
            // Picks the file type from the keyboard, as a person does, and takes the name offered then.
            auto *types = dialog->findChild<QComboBox *>(QStringLiteral("fileTypeCombo"));
            types->setFocus();
            for (int i = 0; i < fileType; ++i)
                QTest::keyClick(types, Qt::Key_Down);
            offered << dialog->directory().absolutePath()
                    << dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit"))->text();
            dialog->findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Save)->click();
        });
        MessageBoxAnswerer boxes;
        select({day});
        actions->exportRide()->trigger();

        if (proposed.isEmpty()) {
            QCOMPARE(files.answered(), 0);
            QCOMPARE(boxes.boxes().size(), 1);
            QCOMPARE(boxes.boxes()[0].icon, QMessageBox::Warning);
            QVERIFY(boxes.boxes()[0].informativeText.contains(QLatin1String("velotool logbook export --model NAME")));
            QVERIFY(QDir(exportFolder->path()).isEmpty());
            return;
        }
        QCOMPARE(offered, QStringList({exportFolder->path(), proposed}));
        QCOMPARE(boxes.boxes().size(), 0);
        const QByteArray bytes = FileBytes::read(exportFolder->filePath(proposed));
        QVERIFY2(markAt < 0 ? bytes.contains(mark) : bytes.mid(markAt, mark.size()) == mark, bytes.left(200).constData());
        QCOMPARE(QSettings().value(QStringLiteral("export/last_folder")).toString(), exportFolder->path());
    }

    void editNoteChangesRow()
    {
        QSignalSpy changed(actions, &RideActions::ridesChanged);
        QString shown;
        ModalAnswerer<NoteDialog> note([&](NoteDialog *dialog) {
            auto *edit = dialog->findChild<QPlainTextEdit *>(QStringLiteral("noteEdit"));
            shown = edit->toPlainText();
            edit->setPlainText(QStringLiteral("Galibier, in the rain"));
            dialog->accept();
        });
        select({Tuesday});
        actions->editNote()->trigger();
        QCOMPARE(shown, QStringLiteral("Col du Galibier"));
        QCOMPARE(changed.size(), 1);
        model->show({});
        QCOMPARE(model->entry(rowOf(Tuesday)).note, QStringLiteral("Galibier, in the rain"));
    }

    void deleteAsksThenUndoBringsBack_data()
    {
        QTest::addColumn<QList<QDate>>("selected");
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::addColumn<bool>("recordedAgain"); // the ride of Tuesday, read once more before the undo
        QTest::addColumn<QString>("question");
        const QString one = QStringLiteral("Delete the ride of %1, bike 1, %2 km?")
                                .arg(QLocale().toString(Tuesday, QLocale::ShortFormat), QLocale().toString(42.2, 'f', 1));
        QTest::newRow("no") << QList<QDate>{Tuesday} << QMessageBox::No << false << one;
        QTest::newRow("yes") << QList<QDate>{Tuesday} << QMessageBox::Yes << false << one;
        QTest::newRow("two") << QList<QDate>{Sunday, Tuesday} << QMessageBox::Yes << false << "Delete these 2 rides?";
        QTest::newRow("recorded again") << QList<QDate>{Sunday, Tuesday} << QMessageBox::Yes << true << "Delete these 2 rides?";
    }

    void deleteAsksThenUndoBringsBack()
    {
        QFETCH(QList<QDate>, selected);
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(bool, recordedAgain);
        QFETCH(QString, question);
        QStringList asked;
        ModalAnswerer<QMessageBox> boxes([&](QMessageBox *box) {
            asked << box->text();
            QAbstractButton *button = box->button(answer);
            (button ? button : box->button(QMessageBox::Ok))->click();
        });
        QSignalSpy changed(actions, &RideActions::ridesChanged);
        QList<RideEntry> before;
        QVERIFY(!RideQuery::rides(filler->logbook(), {}, before));
        select(selected);
        actions->deleteRide()->trigger();
        QCOMPARE(asked, QStringList{question});

        model->show({});
        const int gone = answer == QMessageBox::Yes ? int(selected.size()) : 0;
        QCOMPARE(model->rowCount(), before.size() - gone);
        QList<RideEntry> left;
        QVERIFY(!RideQuery::rides(filler->logbook(), {}, left));
        QCOMPARE(left.size(), before.size() - gone);
        QCOMPARE(actions->undo()->isEnabled(), gone > 0);
        if (gone == 0)
            return;
        QCOMPARE(actions->undo()->text(), gone == 1 ? QStringLiteral("Undo delete ride") : QStringLiteral("Undo delete 2 rides"));
        const RideEntry again = LogbookFiller::ride(Tuesday, 1, 50.0);
        if (recordedAgain)
            QVERIFY(filler->add({again}));

        actions->undo()->trigger();
        QCOMPARE(changed.size(), 2);
        QCOMPARE(asked.size(), recordedAgain ? 2 : 1);
        if (recordedAgain)
            QVERIFY2(asked[1].contains(QLatin1String("keeps that newer one")), qPrintable(asked[1]));
        QList<RideEntry> after;
        QVERIFY(!RideQuery::rides(filler->logbook(), {}, after));
        QCOMPARE(after.size(), before.size());
        for (int i = 0; i < after.size(); ++i) {
            const RideEntry &was = before[i];
            const RideEntry &is = after[i];
            if (recordedAgain && is.date == Tuesday) {
                QCOMPARE(is.value(RideValue::Distance), again.value(RideValue::Distance));
                continue;
            }
            QCOMPARE(is.id, was.id);
            compareRides(is, was);
            if (QTest::currentTestFailed())
                return;
        }
        QVERIFY(!actions->undo()->isEnabled());
    }

    void failedChangeIsTold_data()
    {
        QTest::addColumn<QString>("refused"); // what the logbook refuses to do
        QTest::addColumn<QString>("told");
        QTest::newRow("delete") << "DELETE" << "Nothing was deleted.";
        QTest::newRow("undo") << "INSERT" << "The deleted rides could not be brought back.";
    }

    void failedChangeIsTold()
    {
        QFETCH(QString, refused);
        QFETCH(QString, told);
        QStringList asked;
        ModalAnswerer<QMessageBox> boxes([&](QMessageBox *box) {
            asked << box->text();
            (box->button(QMessageBox::Yes) ? box->button(QMessageBox::Yes) : box->button(QMessageBox::Ok))->click();
        });
        const auto refuse = [&] {
            return QSqlQuery(filler->logbook().database())
                .exec(QStringLiteral("CREATE TRIGGER refuse BEFORE %1 ON rides BEGIN SELECT RAISE(ABORT, 'refused'); END")
                          .arg(refused));
        };
        if (refused == QLatin1String("DELETE"))
            QVERIFY(refuse());
        select({Tuesday});
        actions->deleteRide()->trigger();
        if (refused == QLatin1String("INSERT")) {
            QVERIFY(refuse());
            actions->undo()->trigger();
        }
        QCOMPARE(asked.size(), 2);
        QCOMPARE(asked[1], told);
        model->show({});
        QCOMPARE(rowOf(Tuesday) >= 0, refused == QLatin1String("DELETE"));
        if (refused == QLatin1String("DELETE")) {
            QVERIFY(!actions->undo()->isEnabled());
            return;
        }
        // An undo refused for now can be tried again, and then brings the ride back.
        QTRY_VERIFY(actions->undo()->isEnabled());
        QVERIFY(QSqlQuery(filler->logbook().database()).exec(QStringLiteral("DROP TRIGGER refuse")));
        actions->undo()->trigger();
        model->show({});
        QVERIFY(rowOf(Tuesday) >= 0);
    }

    void importsDroppedLogs()
    {
        QTemporaryDir logs;
        const QString log = logs.filePath(QStringLiteral("rides.csv"));
        QVERIFY(FileBytes::write(log, csvLogText(3) + "\nkm/kmph/meter/Celsius; Sat Mar 16 09:30:00 2024; 01:02:03\n"));
        const QString missing = logs.filePath(QStringLiteral("missing.csv"));
        ModalAnswerer<ImportChoiceDialog> choice([](ImportChoiceDialog *dialog) {
            dialog->findChild<QComboBox *>(QStringLiteral("bikeBox"))->setCurrentIndex(1);
            auto *models = dialog->findChild<QComboBox *>(QStringLiteral("modelBox"));
            models->setCurrentIndex(models->findText(QStringLiteral("Lumo 40")));
            dialog->accept();
        });
        MessageBoxAnswerer boxes;
        QSignalSpy changed(actions, &RideActions::ridesChanged);
        const std::unique_ptr<QMimeData> data(dropped({QUrl::fromLocalFile(log), QUrl::fromLocalFile(missing)}));
        for (const QString &counts : {QStringLiteral("3 imported, 0 already"), QStringLiteral("0 imported, 3 already")}) {
            QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(window.get(), &enter);
            QVERIFY(enter.isAccepted());
            QDropEvent drop(QPointF(10, 10), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(window.get(), &drop);
            QVERIFY(drop.isAccepted());
            const qsizetype seen = boxes.boxes().size();
            QTRY_COMPARE(boxes.boxes().size(), seen + 1);
            const MessageBoxAnswerer::Box box = boxes.boxes().last();
            const QStringList lines = box.text.split(QLatin1Char('\n'));
            QCOMPARE(lines.size(), 2);
            QCOMPARE(lines[0], QStringLiteral("rides.csv: %1 in the logbook, 1 refused.").arg(counts));
            QVERIFY2(lines[1].startsWith(QDir::toNativeSeparators(missing) + QLatin1String(" cannot be read")), qPrintable(lines[1]));
            QCOMPARE(box.informativeText, QStringLiteral("Refused:\nrides.csv, line 5: 3 columns instead of 27"));
            QCOMPARE(box.icon, QMessageBox::Warning);
        }
        QCOMPARE(choice.answered(), 2);
        QCOMPARE(changed.size(), 1);
        QList<RideEntry> imported;
        QVERIFY(!RideQuery::rides(filler->logbook(), RideFilter{2, QDate(2024, 1, 1), QDate(2024, 12, 31), 0, {}, {}}, imported));
        QCOMPARE(imported.size(), 3);
        QCOMPARE(imported[0].model, QStringLiteral("Lumo 40"));
    }

    void dragTakesOnlyLocalCsvFiles_data()
    {
        QTest::addColumn<QList<QUrl>>("urls");
        QTest::addColumn<bool>("taken");
        const QUrl log = QUrl::fromLocalFile(QStringLiteral("/tmp/rides.CSV"));
        QTest::newRow("a local log") << QList<QUrl>{log} << true;
        QTest::newRow("a local text") << QList<QUrl>{QUrl::fromLocalFile(QStringLiteral("/tmp/rides.txt"))} << false;
        QTest::newRow("a log on the web") << QList<QUrl>{QUrl(QStringLiteral("https://example.invalid/rides.csv"))} << false;
        QTest::newRow("a log and a text") << QList<QUrl>{log, QUrl::fromLocalFile(QStringLiteral("/tmp/a.txt"))} << false;
        QTest::newRow("no files") << QList<QUrl>{} << false;
    }

    void dragTakesOnlyLocalCsvFiles()
    {
        QFETCH(QList<QUrl>, urls);
        QFETCH(bool, taken);
        const std::unique_ptr<QMimeData> data(dropped(urls));
        QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, data.get(), Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(window.get(), &enter);
        QCOMPARE(enter.isAccepted(), taken);
    }
};

QTEST_MAIN(tst_RideActions)
#include "tst_rideactions.moc"
