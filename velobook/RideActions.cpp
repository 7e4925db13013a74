// SPDX-License-Identifier: GPL-3.0-or-later
#include "velobook/RideActions.h"

#include "velobook/DeleteRidesCommand.h"
#include "velobook/ImportChoiceDialog.h"
#include "velobook/ImportReport.h"
#include "velobook/NoteDialog.h"
#include "velobook/UnitChoice.h"

#include "logbook/CsvLogImporter.h"
#include "logbook/Logbook.h"
#include "logbook/RideListModel.h"
#include "logbook/RideRecorder.h"
#include "outpost/ExportPlace.h"

#include <QAbstractItemView>
#include <QAction>
#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QItemSelectionModel>
#include <QLocale>
#include <QMimeData>
#include <QTimer>
#include <QUndoStack>
#include <QUrl>
#include <QWidget>

#include <set>

namespace {

// How many rides a question about deleting names one by one.
constexpr int NamedRides = 10;

const QLatin1String FitEnding(".fit");
const QLatin1String CsvEnding(".csv");

} // namespace

RideActions::RideActions(Logbook &logbook, QAbstractItemView *rides, QWidget *window)
    : QObject(window), m_logbook(logbook), m_rides(rides), m_window(window), m_stack(new QUndoStack(this))
{
    m_export = makeAction(tr("&Export ride…"), tr("Write the selected ride to a FIT file or a CSV log"));
    m_export->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_E));
    m_note = makeAction(tr("Edit &note…"), tr("Write or change the note of the selected ride"));
    m_delete = makeAction(tr("&Delete"), tr("Delete the selected rides from the logbook"));
    m_delete->setShortcut(QKeySequence::Delete);
    m_import = makeAction(tr("&Import CSV logs…"), tr("Take the rides of CSV logs into the logbook"));
    m_undo = m_stack->createUndoAction(this);
    m_undo->setShortcut(QKeySequence::Undo);
    m_undo->setToolTip(tr("Bring back the rides deleted last"));
    m_undo->setStatusTip(m_undo->toolTip());
    window->addAction(m_undo);

    connect(m_export, &QAction::triggered, this, &RideActions::exportSelected);
    connect(m_note, &QAction::triggered, this, &RideActions::noteSelected);
    connect(m_delete, &QAction::triggered, this, &RideActions::deleteSelected);
    connect(m_import, &QAction::triggered, this, &RideActions::chooseLogs);
    connect(m_rides->selectionModel(), &QItemSelectionModel::selectionChanged, this, &RideActions::updateEnabled);
    // A model shown anew drops its selection without a word.
    connect(m_rides->model(), &QAbstractItemModel::modelReset, this, &RideActions::updateEnabled);
    updateEnabled();

    window->setAcceptDrops(true);
    window->installEventFilter(this);
}

QAction *RideActions::makeAction(const QString &text, const QString &tip)
{
    auto *action = new QAction(text, this);
    action->setToolTip(tip);
    action->setStatusTip(tip);
    m_window->addAction(action);
    return action;
}

RideListModel *RideActions::model() const
{
    return qobject_cast<RideListModel *>(m_rides->model());
}

QList<int> RideActions::selectedRows() const
{
    // The shortcuts work anywhere in the window, but only on rides the user sees selected.
    if (!m_rides->isVisibleTo(m_window))
        return {};
    // By ranges rather than by cells, so that selecting every ride stays quick.
    std::set<int> rows;
    for (const QItemSelectionRange &range : m_rides->selectionModel()->selection())
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.insert(row);
    return QList<int>(rows.cbegin(), rows.cend());
}

QList<RideEntry> RideActions::selectedRides() const
{
    QList<RideEntry> rides;
    if (RideListModel *list = model())
        for (int row : selectedRows())
            rides << list->entry(row);
    return rides;
}

void RideActions::updateEnabled()
{
    const qsizetype rows = selectedRows().size();
    m_export->setEnabled(rows == 1);
    m_note->setEnabled(rows == 1);
    m_delete->setEnabled(rows > 0);
}

QString RideActions::describe(const RideEntry &ride)
{
    const DisplayUnits units = UnitChoice::current();
    return tr("%1, bike %2, %3 %4")
        .arg(QLocale().toString(ride.date, QLocale::ShortFormat))
        .arg(ride.bike)
        .arg(QLocale().toString(units.distance(quint64(ride.value(RideValue::Distance))), 'f', 1), units.distanceUnit());
}

void RideActions::tell(QMessageBox::Icon icon, const QString &title, const QString &text, const QString &more,
                       const QString &details)
{
    QMessageBox box(icon, title, text, QMessageBox::Ok, m_window);
    box.setInformativeText(more);
    box.setDetailedText(details);
    box.exec();
}

void RideActions::exportSelected()
{
    const QList<RideEntry> rides = selectedRides();
    if (rides.size() != 1)
        return;
    const RideEntry &ride = rides.first();
    const DeviceModel *device = m_reexport.model(ride.model);
    if (!device) {
        const QString unknown = ride.model.isEmpty()
            ? tr("The logbook does not know which bike computer recorded the ride of %1, so it cannot be written as "
                 "one of its rides.").arg(describe(ride))
            : tr("The bike computer \"%1\" that recorded the ride of %2 is not one this version knows, so the ride "
                 "cannot be written as one of its rides.").arg(ride.model, describe(ride));
        tell(QMessageBox::Warning, tr("Export ride"), unknown,
             tr("Write it as the rides of a model you name, on the command line:\n"
                "velotool logbook export --model NAME %1 FILE").arg(ride.id));
        return;
    }
    const QString path = askExportPath(ride);
    if (path.isEmpty())
        return;
    if (!m_reexport.write(ride, *device, path)) {
        tell(QMessageBox::Warning, tr("Export ride"),
             tr("Writing %1 failed, and the file was left as it was.").arg(QDir::toNativeSeparators(path)),
             tr("Make sure that there is space on the disk and that you may write there, or choose another folder."));
        return;
    }
    ExportPlace::remember(path);
}

QString RideActions::askExportPath(const RideEntry &ride)
{
    const QString fitFilter = tr("FIT activity files (*.fit)");
    const QString csvFilter = tr("CSV logs (*.csv)");
    const QString fitName = ExportPlace::proposedName(ride.model, ride.date, ride.bike);
    const QString logName = ExportPlace::proposedLogName(ride.model, ride.bike);
    // Not the desktop's own dialog: this one behaves the same everywhere and can be driven by tests.
    QFileDialog dialog(m_window, tr("Export ride"), ExportPlace::folder());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setOptions(QFileDialog::DontUseNativeDialog | QFileDialog::DontConfirmOverwrite);
    dialog.setNameFilters({fitFilter, csvFilter});
    dialog.selectFile(fitName);
    connect(&dialog, &QFileDialog::filterSelected, &dialog, [&](const QString &filter) {
        // A name still the proposal follows the file type; one the user typed stays.
        const QString typed = QFileInfo(dialog.selectedFiles().value(0)).completeBaseName();
        if (typed == QFileInfo(fitName).completeBaseName() || typed == QFileInfo(logName).completeBaseName())
            dialog.selectFile(filter == csvFilter ? logName : fitName);
    });
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    QString path = dialog.selectedFiles().constFirst();
    if (QFileInfo(path).suffix().isEmpty())
        path += dialog.selectedNameFilter() == csvFilter ? CsvEnding : FitEnding;
    // A log gets one more line; only a FIT file is replaced.
    if (path.endsWith(FitEnding) && QFileInfo::exists(path)
        && QMessageBox::question(m_window, tr("Export ride"),
                                 tr("%1 exists already. Replace it?").arg(QDir::toNativeSeparators(path)))
            != QMessageBox::Yes)
        return QString();
    return path;
}

void RideActions::noteSelected()
{
    const QList<RideEntry> rides = selectedRides();
    if (rides.size() != 1)
        return;
    const RideEntry &ride = rides.first();
    NoteDialog dialog(describe(ride), ride.note, m_window);
    if (dialog.exec() != QDialog::Accepted || dialog.note() == ride.note)
        return;
    if (const auto failure = RideRecorder(m_logbook).setNote(ride.id, dialog.note())) {
        tell(QMessageBox::Warning, tr("Edit note"), failure->message());
        return;
    }
    emit ridesChanged();
}

void RideActions::deleteSelected()
{
    const QList<RideEntry> rides = selectedRides();
    if (rides.isEmpty() || !confirmDelete(rides))
        return;
    DeleteRidesCommand::Listener listener;
    listener.changed = [this] { emit ridesChanged(); };
    listener.failed = [this](const LogbookError &error, bool bringingBack) {
        if (bringingBack) {
            tell(QMessageBox::Warning, tr("Undo delete ride"), tr("The deleted rides could not be brought back."),
                 error.message());
            // The stack stepped back over the command; stepping forward again offers its undo anew.
            QTimer::singleShot(0, m_stack, &QUndoStack::redo);
        } else
            tell(QMessageBox::Warning, tr("Delete ride"), tr("Nothing was deleted."), error.message());
    };
    listener.keptNewer = [this](const QList<RideEntry> &kept) { tellKeptNewer(kept); };
    m_stack->push(new DeleteRidesCommand(m_logbook, rides, listener));
}

bool RideActions::confirmDelete(const QList<RideEntry> &rides)
{
    QString text;
    QStringList named;
    if (rides.size() == 1) {
        text = tr("Delete the ride of %1?").arg(describe(rides.first()));
    } else {
        text = tr("Delete these %n rides?", nullptr, int(rides.size()));
        for (const RideEntry &ride : rides.mid(0, NamedRides))
            named << describe(ride);
        if (rides.size() > NamedRides)
            named << tr("and %1 more").arg(rides.size() - NamedRides);
    }
    named << tr("Undo brings them back until the window is closed.");
    QMessageBox box(QMessageBox::Question, tr("Delete ride"), text, QMessageBox::Yes | QMessageBox::No, m_window);
    box.setInformativeText(named.join(QLatin1Char('\n')));
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void RideActions::tellKeptNewer(const QList<RideEntry> &rides)
{
    QStringList named;
    for (const RideEntry &ride : rides)
        named << describe(ride);
    const QString text = rides.size() == 1
        ? tr("A deleted ride did not come back: the logbook got the same ride again since, and keeps that newer one.")
        : tr("%n deleted rides did not come back: the logbook got the same rides again since, and keeps those newer "
             "ones.", nullptr, int(rides.size()));
    tell(QMessageBox::Information, tr("Undo delete ride"), text, named.join(QLatin1Char('\n')));
}

void RideActions::chooseLogs()
{
    QFileDialog dialog(m_window, tr("Import CSV logs"), ExportPlace::folder(), tr("CSV logs (*.csv)"));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        importFiles(dialog.selectedFiles());
}

void RideActions::importFiles(const QStringList &paths)
{
    ImportChoiceDialog choice(m_reexport.modelNames(), int(paths.size()), m_window);
    if (choice.exec() != QDialog::Accepted)
        return;
    ImportReport report;
    for (const QString &path : paths) {
        QFile log(path);
        if (!log.open(QIODevice::ReadOnly)) {
            report.unreadable(path, log.errorString());
            continue;
        }
        ImportOutcome outcome;
        if (const auto failure = CsvLogImporter(m_logbook, choice.bike(), choice.model()).import(log, outcome)) {
            // The logbook itself failed: the next log would fare no better.
            report.failed(path, *failure);
            break;
        }
        report.imported(path, outcome);
    }
    if (report.tookRides())
        emit ridesChanged();
    tellReport(report);
}

void RideActions::tellReport(const ImportReport &report)
{
    tell(report.hasTrouble() ? QMessageBox::Warning : QMessageBox::Information, tr("Import CSV logs"), report.summary(),
         report.refusals(), report.details());
}

QStringList RideActions::droppedLogs(const QMimeData *data)
{
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl &url : data->urls()) {
        if (!url.isLocalFile() || !url.toLocalFile().endsWith(CsvEnding, Qt::CaseInsensitive))
            return QStringList();
        paths << url.toLocalFile();
    }
    return paths;
}

bool RideActions::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_window)
        return false;
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto *drag = static_cast<QDragMoveEvent *>(event);
        if (droppedLogs(drag->mimeData()).isEmpty())
            drag->ignore();
        else
            drag->acceptProposedAction();
        return true;
    }
    case QEvent::Drop: {
        auto *drop = static_cast<QDropEvent *>(event);
        const QStringList logs = droppedLogs(drop->mimeData());
        if (logs.isEmpty())
            return false;
        drop->acceptProposedAction();
        // The questions wait until the drop is over, so that the program the files came from is not held.
        QMetaObject::invokeMethod(this, [this, logs] { importFiles(logs); }, Qt::QueuedConnection);
        return true;
    }
    default:
        return false;
    }
}
