// SPDX-License-Identifier: GPL-3.0-or-later
#include "velobook/LogbookWindow.h"

#include "desktop/DesktopIdentity.h"
#include "desktop/DesktopLanguage.h"
#include "logbook/Logbook.h"

#include <QApplication>
#include <QCommandLineParser>

int main(int argc, char *argv[])
{
    DesktopIdentity::set(QStringLiteral(PACEROW_VERSION));
    QApplication app(argc, argv);
    DesktopLanguage::install(QStringLiteral("velobook"));

    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate("main", "The rides kept in Pacerow's logbook."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption logbook(QStringLiteral("logbook"),
                                     QCoreApplication::translate("main", "Opens this logbook instead of the usual one."),
                                     QStringLiteral("FILE"));
    parser.addOption(logbook);
    parser.process(app);

    LogbookWindow window(parser.isSet(logbook) ? parser.value(logbook) : Logbook::desktopPath());
    window.show();
    return app.exec();
}
