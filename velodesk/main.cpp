// SPDX-License-Identifier: GPL-3.0-or-later
#include "velodesk/ExportWizard.h"
#include "velodesk/MainWindow.h"
#include "velodesk/Startup.h"

#include "desktop/DesktopLanguage.h"
#include "linkhub/WireLogFile.h"

#include <QApplication>

#include <memory>

int main(int argc, char *argv[])
{
    Startup::logVersions();
    Startup::setIdentity();
    QApplication app(argc, argv);
    DesktopLanguage::install(QStringLiteral("velodesk"));
    Startup::registerMetaTypes();

    // Goes after the window, so the log holds the link's last lines.
    const std::unique_ptr<WireLogFile> wireLog = Startup::startWireLog(QCoreApplication::arguments());
    std::unique_ptr<QWidget> window(Startup::createWindow(QCoreApplication::arguments()));
    if (auto *wizard = qobject_cast<ExportWizard *>(window.get())) {
        // After Finish or Cancel the window is gone at once, but the program waits for the link
        // to close, so the device hears the close command, and for the notification of the file
        // written, so its offer to open the folder can be taken up.
        QApplication::setQuitOnLastWindowClosed(false);
        QObject::connect(wizard, &ExportWizard::allDone, &app, &QCoreApplication::quit);
    } else if (auto *mainWindow = qobject_cast<MainWindow *>(window.get())) {
        // Closed while connected, the window hides and closes only after the link did; a hidden
        // window that closes does not count as the last one closed.
        QApplication::setQuitOnLastWindowClosed(false);
        QObject::connect(mainWindow, &MainWindow::closed, &app, &QCoreApplication::quit);
    }
    window->show();
    const int result = app.exec();
    // Stops the link's threads before the application object goes.
    window.reset();
    return result;
}
