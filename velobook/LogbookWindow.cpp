// SPDX-License-Identifier: GPL-3.0-or-later
#include "velobook/LogbookWindow.h"

#include "velobook/BikesTab.h"
#include "velobook/RideActions.h"
#include "velobook/RidesTab.h"
#include "velobook/TotalsTab.h"
#include "velobook/UnitChoice.h"

#include "logbook/Logbook.h"
#include "logbook/LogbookWatch.h"
#include "logbook/RideQuery.h"

#include <QAction>
#include <QActionGroup>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QMenuBar>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStackedWidget>
#include <QTableView>
#include <QVBoxLayout>

namespace {

const QString WizardProgram = QStringLiteral("velodesk");

QLabel *wrappedLabel(const QString &text, const QString &accessibleName)
{
    auto *label = new QLabel(text);
    label->setWordWrap(true);
    label->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    label->setAccessibleName(accessibleName);
    return label;
}

// A page of a heading and a text in the middle of the window.
QWidget *messagePage(const QString &objectName, const QString &heading, QLabel *text, QLayout *buttons = nullptr)
{
    auto *page = new QWidget;
    page->setObjectName(objectName);
    auto *title = new QLabel(heading);
    title->setAccessibleName(heading);
    QFont font = title->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 1.3);
    title->setFont(font);
    auto *layout = new QVBoxLayout(page);
    layout->setContentsMargins(48, 32, 48, 32);
    layout->addStretch();
    layout->addWidget(title);
    layout->addWidget(text);
    if (buttons)
        layout->addLayout(buttons);
    layout->addStretch(2);
    return page;
}

} // namespace

LogbookWindow::LogbookWindow(const QString &path, QWidget *parent)
    : QMainWindow(parent), m_pages(new QStackedWidget)
{
    setWindowTitle(tr("Pacerow Logbook"));
    setWindowIcon(QIcon(QStringLiteral(":/icon.png")));
    m_pages->setAccessibleName(tr("Logbook"));
    setCentralWidget(m_pages);
    createMenus();
    resize(900, 600);
    if (!openLogbook(path))
        return;
    m_tabs = new QTabWidget;
    m_tabs->setObjectName(QStringLiteral("logbookTabs"));
    m_tabs->setAccessibleName(tr("Views of the logbook"));
    m_pages->addWidget(m_tabs);
    m_emptyPage = createEmptyPage();
    m_pages->addWidget(m_emptyPage);
    m_watch = new LogbookWatch(*m_logbook, this);
    connect(m_watch, &LogbookWatch::changed, this, &LogbookWindow::reload);
    connect(m_watch, &LogbookWatch::gone, this, &LogbookWindow::showGone);
    addTabs();
    reload();
}

LogbookWindow::~LogbookWindow()
{
    // The tabs' lists and the watch query the logbook, so they go first.
    delete m_watch;
    delete takeCentralWidget();
}

bool LogbookWindow::openLogbook(const QString &path)
{
    auto logbook = std::make_unique<Logbook>(path);
    if (const auto failure = logbook->open()) {
        showFailure(*failure);
        return false;
    }
    m_logbook = std::move(logbook);
    return true;
}

void LogbookWindow::addTabs()
{
    // The rides list reads only what it shows, and its sums beside the window, so it is always
    // read: a list left behind would hold its view of the file as it was.
    m_ridesTab = addTab(new RidesTab(*m_logbook), tr("Rides"), Reading::Always);
    addTab(new TotalsTab(*m_logbook), tr("Totals"), Reading::WhenShown);
    auto *bikes = addTab(new BikesTab(*m_logbook), tr("Bikes"), Reading::WhenShown);
    // A name or service day is shown where it was typed; read again, the tab would undo the typing.
    // The rides list shows the bikes by their names.
    connect(bikes, &BikesTab::bikesChanged, this, [this] {
        m_watch->acknowledge();
        m_ridesTab->reload();
    });
    connect(m_tabs, &QTabWidget::currentChanged, this, &LogbookWindow::reloadShownTab);
    // Changes made here show at once, not only once the watch has let the file settle.
    m_actions = new RideActions(*m_logbook, m_ridesTab->view(), this);
    connect(m_actions, &RideActions::ridesChanged, this, &LogbookWindow::reload);
    connect(m_tabs, &QTabWidget::currentChanged, m_actions, &RideActions::updateEnabled);
    addRideActions(m_actions->importLogs(), m_actions->exportRide(), m_actions->undo(), m_actions->editNote(),
                   m_actions->deleteRide());
}

QWidget *LogbookWindow::createEmptyPage()
{
    auto *read = new QPushButton(tr("&Read bike computer…"));
    read->setAccessibleName(tr("Read bike computer"));
    connect(read, &QPushButton::clicked, m_readAction, &QAction::trigger);
    // Shown once the import action is in place.
    m_importButton = new QPushButton(tr("&Import CSV logs…"));
    m_importButton->setAccessibleName(tr("Import CSV logs"));
    m_importButton->hide();
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(read);
    buttons->addWidget(m_importButton);
    buttons->addStretch();
    const QString text =
        tr("The logbook %1 holds no rides yet.\n\nRides get into it when you read your bike computer with the "
           "wizard: connect the computer and choose \"Read bike computer…\". A CSV log that Pacerow wrote "
           "earlier can be imported with \"Import CSV logs…\".")
            .arg(QDir::toNativeSeparators(m_logbook->path()));
    return messagePage(QStringLiteral("emptyPage"), tr("No rides yet"), wrappedLabel(text, tr("No rides yet")), buttons);
}

void LogbookWindow::showFailure(const LogbookError &failure)
{
    QWidget *page = messagePage(QStringLiteral("failurePage"), tr("Logbook not opened"),
                                wrappedLabel(failure.message(), tr("Logbook not opened")));
    m_pages->addWidget(page);
    m_pages->setCurrentWidget(page);
    for (QAction *action : {m_findAction, m_kilometresAction, m_milesAction})
        action->setEnabled(false);
}

void LogbookWindow::showGone()
{
    // Whatever the window wrote now would go into a file no longer at its place: everything that
    // reads or writes the logbook goes, the actions on rides with it.
    const LogbookError gone(LogbookError::Kind::Gone, m_logbook->path());
    delete m_actions;
    m_actions = nullptr;
    m_reloads.clear();
    delete m_tabs;
    m_tabs = nullptr;
    m_ridesTab = nullptr;
    delete m_emptyPage;
    m_emptyPage = nullptr;
    m_importButton = nullptr;
    m_watch->deleteLater();
    m_watch = nullptr;
    m_logbook.reset();
    showFailure(gone);
}

void LogbookWindow::createMenus()
{
    m_fileMenu = menuBar()->addMenu(tr("&File"));
    m_readAction = m_fileMenu->addAction(tr("&Read bike computer…"), this, &LogbookWindow::readBikeComputer);
    m_fileMenu->addSeparator();
    QAction *quit = m_fileMenu->addAction(tr("&Quit"), this, &QWidget::close);
    quit->setShortcut(QKeySequence::Quit);

    m_editMenu = menuBar()->addMenu(tr("&Edit"));
    m_findAction = m_editMenu->addAction(tr("&Find in notes"), this, &LogbookWindow::findInNotes);
    m_findAction->setShortcut(QKeySequence::Find);

    QMenu *view = menuBar()->addMenu(tr("&View"));
    auto *units = new QActionGroup(this);
    m_kilometresAction = units->addAction(tr("&Kilometres"));
    m_milesAction = units->addAction(tr("&Miles"));
    const bool miles = !UnitChoice::current().isMetric();
    for (QAction *action : {m_kilometresAction, m_milesAction}) {
        action->setCheckable(true);
        action->setChecked((action == m_milesAction) == miles);
        view->addAction(action);
        connect(action, &QAction::triggered, this, &LogbookWindow::chooseUnits);
    }
}

void LogbookWindow::addRideActions(QAction *importLogs, QAction *exportRide, QAction *undo, QAction *editNote,
                                   QAction *deleteRide)
{
    m_fileMenu->insertActions(m_readAction, {importLogs, exportRide});
    m_fileMenu->insertSeparator(m_readAction);
    m_editMenu->insertActions(m_findAction, {undo});
    m_editMenu->insertSeparator(m_findAction);
    m_editMenu->insertActions(m_findAction, {editNote, deleteRide});
    m_editMenu->insertSeparator(m_findAction);
    if (m_importButton) {
        connect(m_importButton, &QPushButton::clicked, importLogs, &QAction::trigger);
        m_importButton->show();
    }
}

void LogbookWindow::reload()
{
    if (!m_logbook)
        return;
    bool any = true;
    // A logbook that cannot be read now shows its tabs, whose lists tell what went wrong.
    RideQuery::hasRides(*m_logbook, any);
    m_pages->setCurrentWidget(any ? static_cast<QWidget *>(m_tabs) : m_emptyPage);
    m_watch->acknowledge();
    for (TabReload &tab : m_reloads) {
        tab.stale = true;
        if (tab.reading == Reading::Always) {
            tab.stale = false;
            tab.reload();
        }
    }
    reloadShownTab();
}

void LogbookWindow::reloadShownTab()
{
    const int shown = m_tabs->currentIndex();
    if (shown < 0 || !m_reloads[shown].stale)
        return;
    m_reloads[shown].stale = false;
    m_reloads[shown].reload();
}

void LogbookWindow::readBikeComputer()
{
    // Installed, the wizard is beside this program; otherwise it is wherever the path finds it.
    const QString beside = QDir(QCoreApplication::applicationDirPath()).filePath(WizardProgram);
    const QString program = QFileInfo(beside).isExecutable() ? beside : WizardProgram;
    if (QProcess::startDetached(program, {}))
        return;
    QMessageBox::warning(this, tr("Read bike computer"),
                         tr("The wizard (%1) could not be started. Check that Pacerow is installed completely, "
                            "or start the wizard from the desktop menu.")
                             .arg(WizardProgram));
}

void LogbookWindow::findInNotes()
{
    if (!m_ridesTab)
        return;
    m_tabs->setCurrentWidget(m_ridesTab);
    m_ridesTab->focusSearch();
}

void LogbookWindow::chooseUnits()
{
    UnitChoice::setMiles(m_milesAction->isChecked());
    reload();
}
