// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "logbook/RideEntry.h"
#include "logbook/RideReexport.h"

#include <QList>
#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QStringList>

class ImportReport;
class Logbook;
class LogbookError;
class QAbstractItemView;
class QAction;
class QMimeData;
class QUndoStack;
class QWidget;
class RideListModel;

/// The everyday actions on the rides a view shows: export one again, note it, delete rides (with
/// undo until the window closes) and import CSV logs, from a menu or dropped on the window.
/// The window puts the actions in its menus; their shortcuts work anywhere in it. Made with new,
/// it belongs to the window.
class RideActions : public QObject
{
    Q_OBJECT

public:
    /// `rides` shows a RideListModel, set before; `window` gets the actions' shortcuts and the
    /// drops of CSV logs, and is the parent of every dialog.
    RideActions(Logbook &logbook, QAbstractItemView *rides, QWidget *window);

    QAction *exportRide() const { return m_export; }
    QAction *editNote() const { return m_note; }
    QAction *deleteRide() const { return m_delete; }
    QAction *undo() const { return m_undo; }
    QAction *importLogs() const { return m_import; }

    /// Imports the CSV logs at `paths`, asking first which bike and model they are of, and
    /// tells what came of each.
    void importFiles(const QStringList &paths);
    /// Enables the actions for the rides selected; the window calls it as the rides' view comes
    /// forward or goes behind another.
    void updateEnabled();

signals:
    /// The logbook's rides changed through one of these actions.
    void ridesChanged();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QAction *makeAction(const QString &text, const QString &tip);
    RideListModel *model() const;
    QList<int> selectedRows() const;
    QList<RideEntry> selectedRides() const;

    void exportSelected();
    QString askExportPath(const RideEntry &ride);
    void noteSelected();
    void deleteSelected();
    bool confirmDelete(const QList<RideEntry> &rides);
    void chooseLogs();
    void tellReport(const ImportReport &report);
    void tellKeptNewer(const QList<RideEntry> &rides);
    void tell(QMessageBox::Icon icon, const QString &title, const QString &text, const QString &more = QString(),
              const QString &details = QString());
    /// The ride in words: its day, bike and distance.
    static QString describe(const RideEntry &ride);
    static QStringList droppedLogs(const QMimeData *data);

    Logbook &m_logbook;
    QAbstractItemView *m_rides;
    QWidget *m_window;
    const RideReexport m_reexport;
    QUndoStack *m_stack;
    QAction *m_export;
    QAction *m_note;
    QAction *m_delete;
    QAction *m_undo;
    QAction *m_import;
};
