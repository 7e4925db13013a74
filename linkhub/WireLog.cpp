// SPDX-License-Identifier: GPL-3.0-or-later
#include "linkhub/private/WireLog.h"

#include "linkhub/ComConnection.h"

#include <QLoggingCategory>
#include <QString>

Q_LOGGING_CATEGORY(wireCategory, WireLog::CategoryName, QtWarningMsg)

namespace {

using Clock = std::chrono::steady_clock;

QString stateName(ConnectionState state)
{
    switch (state) {
    case Closed: return QStringLiteral("Closed");
    case Opening: return QStringLiteral("Opening");
    case WaitingForAnswer: return QStringLiteral("WaitingForAnswer");
    case Connected: return QStringLiteral("Connected");
    case Closing: return QStringLiteral("Closing");
    case Error: return QStringLiteral("Error");
    }
    return QStringLiteral("state%1").arg(int(state));
}

QString errorName(ErrorMessage error)
{
    switch (error) {
    case NoError: return QStringLiteral("NoError");
    case FailedToOpen: return QStringLiteral("FailedToOpen");
    case UnknownDeviceType: return QStringLiteral("UnknownDeviceType");
    case ConnectionLost: return QStringLiteral("ConnectionLost");
    }
    return QStringLiteral("error%1").arg(int(error));
}

QString hexByte(unsigned char byte)
{
    return QStringLiteral("%1").arg(byte, 2, 16, QLatin1Char('0'));
}

QString hexBytes(const QByteArray &bytes)
{
    return QString::fromLatin1(bytes.toHex(' '));
}

const QByteArray LeadIn("\xFF\x55", 2);

// A queued packet without its lead-in: code, one length byte (two for a firmware block), payload, checksum.
int payloadLength(const QByteArray &packet)
{
    if (packet.size() < 3)
        return 0;
    const auto low = static_cast<unsigned char>(packet.at(1));
    if (static_cast<unsigned char>(packet.at(0)) == FirmwareBlock && packet.size() > 3)
        return low | (static_cast<unsigned char>(packet.at(2)) << 8);
    return low;
}

} // namespace

WireLog::WireLog(SpeedSource lineSpeed)
    : lineSpeed(std::move(lineSpeed)), openedAt(Clock::now().time_since_epoch().count())
{
}

void WireLog::enable()
{
    QLoggingCategory::setFilterRules(QStringLiteral("%1.debug=true").arg(QLatin1String(CategoryName)));
}

bool WireLog::isEnabled()
{
    return wireCategory().isDebugEnabled();
}

void WireLog::frameSent(const QByteArray &packet, int attempt)
{
    if (!isEnabled() || packet.isEmpty())
        return;
    write(QStringLiteral("%1 %2 code %3 length %4 attempt %5: %6")
              .arg(attempt > 1 ? QStringLiteral("resent") : QStringLiteral("sent"))
              .arg(lineSpeed())
              .arg(hexByte(static_cast<unsigned char>(packet.at(0))))
              .arg(payloadLength(packet))
              .arg(attempt)
              .arg(hexBytes(LeadIn + packet)));
}

void WireLog::frameReceived(unsigned char code, const QByteArray &payload)
{
    // The receiver keeps code and payload only; the frame is rebuilt as it came, its checksum
    // having been found right.
    if (isEnabled())
        writeReceived(QStringLiteral("received"), code, payload, std::nullopt);
}

void WireLog::frameRejected(unsigned char code, const QByteArray &payload, unsigned char checksum)
{
    if (isEnabled())
        writeReceived(QStringLiteral("rejected"), code, payload, checksum);
}

void WireLog::writeReceived(const QString &event, unsigned char code, const QByteArray &payload,
                            std::optional<unsigned char> wrongChecksum)
{
    QByteArray packet;
    packet.append(char(code));
    packet.append(char(payload.size() & 0xFF)); // the device always sends a one-byte length
    packet.append(payload);
    const auto checksum = static_cast<unsigned char>(ComConnection::calculateChecksum(packet));
    const QString frame = hexBytes(LeadIn + packet + char(wrongChecksum.value_or(checksum)));
    write(QStringLiteral("%1 %2 code %3 length %4: %5%6")
              .arg(event)
              .arg(lineSpeed())
              .arg(hexByte(code))
              .arg(payload.size())
              .arg(frame,
                   wrongChecksum ? QStringLiteral(" (checksum should be %1)").arg(hexByte(checksum)) : QString()));
}

void WireLog::noAnswer(const QByteArray &packet, int attempt, std::chrono::milliseconds waited)
{
    if (!isEnabled() || packet.isEmpty())
        return;
    write(QStringLiteral("no answer %1 code %2 attempt %3 within %4 ms")
              .arg(lineSpeed())
              .arg(hexByte(static_cast<unsigned char>(packet.at(0))))
              .arg(attempt)
              .arg(waited.count()));
}

void WireLog::stateChanged(ConnectionState state, ErrorMessage error)
{
    if (state == Opening)
        openedAt = Clock::now().time_since_epoch().count();
    if (!isEnabled())
        return;
    write(QStringLiteral("state %1 %2").arg(stateName(state), errorName(error)));
}

void WireLog::write(const QString &event)
{
    const Clock::duration since = Clock::now().time_since_epoch() - Clock::duration(openedAt.load());
    const double seconds = std::chrono::duration<double>(since).count();
    qCDebug(wireCategory).noquote() << QStringLiteral("%1 %2").arg(seconds, 8, 'f', 3).arg(event);
}
