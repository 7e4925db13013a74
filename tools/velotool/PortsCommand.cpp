// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/velotool/PortsCommand.h"

#include "linkhub/ComConnection.h"
#include "linkhub/PortDiagnosis.h"
#include "linkhub/PortWatch.h"
#include "tools/velotool/CommandParser.h"
#include "tools/velotool/Console.h"
#include "tools/velotool/InterruptWatcher.h"

#include <QEventLoop>

namespace {

QString usbIds(const QextPortInfo &port)
{
    return QStringLiteral("%1:%2").arg(port.vendorID, 4, 16, QLatin1Char('0')).arg(port.productID, 4, 16, QLatin1Char('0'));
}

} // namespace

QString PortsCommand::summary()
{
    return tr("Lists the serial ports behind the supported USB bridges (FTDI FT232, Silicon Labs CP210x).");
}

int PortsCommand::run(const QStringList &arguments)
{
    CommandParser command(QStringLiteral("ports"), QStringLiteral("velotool ports [options]"),
                          summary() + QLatin1Char('\n')
                              + tr("Each line shows the port name to give to --port, the USB vendor and product id "
                                   "of its bridge and the bridge's description."));
    const QCommandLineOption watchOption(
        QStringLiteral("watch"), tr("Lists the ports again whenever a bridge is plugged in or pulled out, until Ctrl-C."));
    command.parser().addOption(watchOption);
    if (const auto status = command.parse(arguments, m_console))
        return int(*status);
    if (const auto failure = command.expectPositional(0, QString())) {
        m_console.error(failure->message);
        return int(failure->status);
    }
    if (command.parser().isSet(watchOption))
        return watch();
    return int(list(ComConnection::getSupportedComs()));
}

ExitStatus PortsCommand::list(const QList<QextPortInfo> &ports)
{
    if (ports.isEmpty()) {
        m_console.error(PortDiagnosis::emptyListReason());
        return ExitStatus::NoPortFound;
    }
    for (const QextPortInfo &port : ports) {
        QString description = port.enumName;
        if (!port.friendName.isEmpty())
            description += (description.isEmpty() ? QString() : QStringLiteral(" ")) + port.friendName;
        m_console.print(QStringLiteral("%1  %2  %3").arg(port.portName, usbIds(port), description).trimmed());
    }
    return ExitStatus::Success;
}

int PortsCommand::watch()
{
    InterruptWatcher interrupts;
    const QList<QextPortInfo> listed = ComConnection::getSupportedComs();
    PortWatch ports(listed);
    list(listed);
    m_console.progress(tr("Watching for bridges plugged in or pulled out. Press Ctrl-C to stop."));
    QEventLoop loop;
    QObject::connect(&ports, &PortWatch::portsChanged, &loop, [this] {
        // An empty line sets each new list apart from the one before.
        m_console.print(QString());
        list(ComConnection::getSupportedComs());
    });
    QObject::connect(&interrupts, &InterruptWatcher::interrupted, &loop, &QEventLoop::quit);
    if (!interrupts.wasInterrupted())
        loop.exec();
    return int(ExitStatus::Success);
}
