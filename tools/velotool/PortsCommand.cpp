#include "tools/velotool/PortsCommand.h"

#include "linkhub/ComConnection.h"
#include "tools/velotool/CommandParser.h"
#include "tools/velotool/Console.h"

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
    if (const auto status = command.parse(arguments, m_console))
        return int(*status);
    if (const auto failure = command.expectPositional(0, QString())) {
        m_console.error(failure->message);
        return int(failure->status);
    }

    const QList<QextPortInfo> ports = ComConnection::getSupportedComs();
    if (ports.isEmpty()) {
        m_console.error(tr("No serial port behind a supported USB bridge was found. Check the cable and that the "
                           "bridge's driver is loaded; on Linux, also that your user belongs to the group that owns "
                           "the serial devices (usually \"dialout\")."));
        return int(ExitStatus::NoPortFound);
    }
    for (const QextPortInfo &port : ports) {
        QString description = port.enumName;
        if (!port.friendName.isEmpty())
            description += (description.isEmpty() ? QString() : QStringLiteral(" ")) + port.friendName;
        m_console.print(QStringLiteral("%1  %2  %3").arg(port.portName, usbIds(port), description).trimmed());
    }
    return int(ExitStatus::Success);
}
