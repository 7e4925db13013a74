// SPDX-License-Identifier: GPL-3.0-or-later
#include "WizardDriver.h"
#include "tests/support/Screenshot.h"

#include "velodesk/ComPortPage.h"
#include "velodesk/WizardPageId.h"

#include "linkhub/ComConnection.h"
#include "linkhub/DeviceModel.h"
#include "linkhub/ModelData.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace {
int blockOfRequest(int request)
{
    switch (request) {
    case 0x13: return AltitudeUpdate;
    case 0x21: return CurrentBikeUpdate;
    case 0x31: return HeartRateUpdate;
    case 0x41: return DateTimeUpdate;
    case 0x51:
    case 0x53: return Bike1Update;
    case 0x55: return Bike2Update;
    case 0x61: return BikeAuxUpdate;
    case 0x65: return ModelOptionUpdate;
    default: return -1;
    }
}
}

WizardDriver::WizardDriver() : window(std::make_unique<ExportWizard>())
{
    // Connected after the connect page, so the status line already shows the new state.
    auto *status = find<QLabel>(QStringLiteral("lblConnectionStatus"));
    QObject::connect(window->getConnection(), &ComConnection::connectionStateChanged, window.get(),
                     [this, status](ConnectionState state, ErrorMessage) {
                         stateLog.append(state);
                         statuses.append(status->text());
                     });
    QObject::connect(window->getConnection(), &ComConnection::modelDataUpdate, window.get(),
                     [this](ModelData *, int bits) { updateLog.append(bits); });
    window->resize(WindowSize);
    window->show();
    waitForPortList();
}

void WizardDriver::waitForPortList()
{
    if (auto *page = qobject_cast<ComPortPage *>(window->currentPage()))
        if (!QTest::qWaitFor([page] { return page->hasPortList(); }, int(DeviceWait.count())))
            qWarning("The connect page shows no port list yet.");
}

WizardDriver::~WizardDriver() = default;

bool WizardDriver::press(QWizard::WizardButton which)
{
    QAbstractButton *pressed = window->button(which);
    if (!pressed || !pressed->isVisible() || !pressed->isEnabled())
        return false;
    pressed->click();
    waitForPortList();
    return true;
}

void WizardDriver::connectTo(const QString &portName)
{
    auto *box = find<QComboBox>(QStringLiteral("cmbComPorts"));
    box->setCurrentIndex(-1);
    box->lineEdit()->setText(portName);
    find<QPushButton>(QStringLiteral("btnConnect"))->click();
}

bool WizardDriver::goToFilePage(const QString &portName, const DeviceModel &model)
{
    if (window->currentId() == IntroPageId)
        press(QWizard::NextButton);
    connectTo(portName);
    if (!QTest::qWaitFor([&] { return hasReadAll(model) && button(QWizard::CommitButton)->isEnabled(); },
                         int(DeviceWait.count())))
        return false;
    return press(QWizard::CommitButton) && press(QWizard::NextButton) && press(QWizard::NextButton)
        && press(QWizard::NextButton) && window->currentId() == ChooseFilePageId;
}

bool WizardDriver::hasReadAll(const DeviceModel &model) const
{
    for (int request : model.requestCommands) {
        if (!updateLog.contains(blockOfRequest(request)))
            return false;
    }
    return true;
}

void WizardDriver::screenshot(const QString &name)
{
    saveScreenshot(*window, name);
}
