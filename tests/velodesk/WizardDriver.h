// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "velodesk/ExportWizard.h"

#include "linkhub/ConnectionState.h"

#include <QAbstractButton>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>

#include <chrono>
#include <memory>

class DeviceModel;
class ModelData;

/// Runs the export wizard the way a person does, through its widgets, and keeps what it showed:
/// the status line after every state report and every block the link announced.
class WizardDriver
{
public:
    /// Long enough for identification at 600 baud and all reads of a model at 9600 baud.
    static constexpr std::chrono::milliseconds DeviceWait{10000};
    /// The size the window is shown at, as the program's pages are laid out for.
    static constexpr QSize WindowSize{560, 460};

    WizardDriver();
    ~WizardDriver();

    ExportWizard &wizard() { return *window; }
    ComConnection &connection() { return *window->getConnection(); }

    template <typename Widget>
    Widget *find(const QString &objectName) const
    {
        return window->findChild<Widget *>(objectName);
    }

    QAbstractButton *button(QWizard::WizardButton which) const { return window->button(which); }
    /// Presses a wizard button; false when it is hidden or unusable.
    bool press(QWizard::WizardButton which);

    /// Types a port name into the port box and presses "Connect to Device".
    void connectTo(const QString &portName);
    /// From the connect page (or the introduction before it): connects to the port, waits for every
    /// value of the model and goes on to the file page, keeping each page's choices; false when stuck.
    bool goToFilePage(const QString &portName, const DeviceModel &model);
    /// Texts of the status line, one per state report, in order.
    QStringList statusTexts() const { return statuses; }
    /// States reported by the link, in order.
    QList<ConnectionState> states() const { return stateLog; }
    /// Blocks announced by the link (update bits), in order.
    QList<int> updates() const { return updateLog; }
    /// True once the link announced every block that the model's read requests fill.
    bool hasReadAll(const DeviceModel &model) const;

    /// Saves a picture of the window under the folder named by PACEROW_SCREENSHOT_DIR, if set.
    void screenshot(const QString &name);

private:
    /// On the connect page: waits until it shows the listed ports.
    void waitForPortList();

    std::unique_ptr<ExportWizard> window;
    QStringList statuses;
    QList<ConnectionState> stateLog;
    QList<int> updateLog;
};
