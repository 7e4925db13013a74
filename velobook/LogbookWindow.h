// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QList>
#include <QMainWindow>
#include <QTabWidget>

#include <functional>
#include <memory>

class Logbook;
class LogbookError;
class LogbookWatch;
class QAction;
class QMenu;
class QPushButton;
class QStackedWidget;
class RideActions;
class RidesTab;

/// The logbook window: the logbook's tabs, or what to do when it holds no ride yet, or why it
/// could not be opened. It opens the logbook itself, once, and shows what any program records
/// into it as soon as it is committed.
class LogbookWindow : public QMainWindow
{
    Q_OBJECT

public:
    /// Opens the logbook at `path`; a logbook that cannot be opened is left as it is and its
    /// message shown instead of the tabs.
    explicit LogbookWindow(const QString &path, QWidget *parent = nullptr);
    ~LogbookWindow() override;

    /// Null when the logbook could not be opened.
    Logbook *logbook() const { return m_logbook.get(); }
    /// Null when the logbook could not be opened.
    RidesTab *ridesTab() const { return m_ridesTab; }

public slots:
    /// Shows the logbook as it is now, in the units chosen: after a change made here, another
    /// program's ride, or a switch of units.
    void reload();

private:
    bool openLogbook(const QString &path);
    void addTabs();
    /// Puts the actions on rides into the File and Edit menus, and the import on the empty page.
    void addRideActions(QAction *importLogs, QAction *exportRide, QAction *undo, QAction *editNote,
                        QAction *deleteRide);
    QWidget *createEmptyPage();
    void showFailure(const LogbookError &failure);
    void showGone();
    void createMenus();
    void readBikeComputer();
    void findInNotes();
    void chooseUnits();

    enum class Reading { Always, WhenShown };
    /// Adds a tab that reload() reads again.
    template <typename Tab>
    Tab *addTab(Tab *tab, const QString &label, Reading reading)
    {
        m_tabs->addTab(tab, label);
        m_reloads.append({[tab] { tab->reload(); }, reading, true});
        return tab;
    }
    void reloadShownTab();

    std::unique_ptr<Logbook> m_logbook;
    QStackedWidget *m_pages;
    QTabWidget *m_tabs = nullptr;
    QWidget *m_emptyPage = nullptr;
    QPushButton *m_importButton = nullptr;
    RidesTab *m_ridesTab = nullptr;
    RideActions *m_actions = nullptr;
    LogbookWatch *m_watch = nullptr;
    /// A tab read when it is shown only notes, while hidden, that the logbook changed, so that a
    /// long logbook costs the window no more than the tab in front.
    struct TabReload
    {
        std::function<void()> reload;
        Reading reading;
        bool stale;
    };
    QList<TabReload> m_reloads;
    QMenu *m_fileMenu = nullptr;
    QMenu *m_editMenu = nullptr;
    QAction *m_readAction = nullptr;
    QAction *m_findAction = nullptr;
    QAction *m_kilometresAction = nullptr;
    QAction *m_milesAction = nullptr;
};
