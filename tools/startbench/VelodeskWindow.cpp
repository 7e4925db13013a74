// SPDX-License-Identifier: GPL-3.0-or-later
// velodesk's start, step by step as its main() takes them, up to the first window.
#include "FirstPaintProbe.h"

#include "velodesk/Startup.h"

#include <QApplication>
#include <QWidget>

#include <memory>

int main(int argc, char *argv[])
{
    Startup::logVersions();
    Startup::setIdentity();
    QApplication app(argc, argv);
    Startup::registerMetaTypes();
    std::unique_ptr<QWidget> window(Startup::createWindow(QCoreApplication::arguments()));
    new FirstPaintProbe(window.get());
    window->show();
    const int result = app.exec();
    window.reset();
    return result;
}
