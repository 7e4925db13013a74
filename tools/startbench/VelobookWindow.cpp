// SPDX-License-Identifier: GPL-3.0-or-later
// velobook's start, step by step as its main() takes them, up to the first window, on the
// logbook named as the only argument.
#include "FirstPaintProbe.h"

#include "desktop/DesktopIdentity.h"
#include "desktop/DesktopLanguage.h"
#include "velobook/LogbookWindow.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    DesktopIdentity::set(QStringLiteral(PACEROW_VERSION));
    QApplication app(argc, argv);
    DesktopLanguage::install(QStringLiteral("velobook"));
    LogbookWindow window(QCoreApplication::arguments().value(1));
    new FirstPaintProbe(&window);
    window.show();
    return app.exec();
}
