// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/velotool/CommandLine.h"
#include "tools/velotool/Console.h"
#include "tools/velotool/LinkDiagnostics.h"

#include <QCoreApplication>

int main(int argc, char *argv[])
{
    LinkDiagnostics::install();
    QCoreApplication::setOrganizationName(QStringLiteral("Velquist"));
    QCoreApplication::setApplicationName(QStringLiteral("velotool"));
    QCoreApplication::setApplicationVersion(QStringLiteral(PACEROW_VERSION));
    QCoreApplication application(argc, argv);

    Console console;
    return CommandLine(console).run(QCoreApplication::arguments());
}
