// SPDX-License-Identifier: GPL-3.0-or-later
#include "velodesk/ConnectionStatus.h"

QString ConnectionStatus::text(ConnectionState state, ErrorMessage error)
{
    switch (error) {
    case NoError:
        break;
    case FailedToOpen:
        return tr("Failed to open connection", "Connection Error");
    case UnknownDeviceType:
        return tr("Unknown device type", "Connection Error");
    case ConnectionLost:
        return tr("Connection lost", "Connection Error");
    default:
        return QString();
    }
    switch (state) {
    case Closed:
        return tr("Connection closed", "Connection State");
    case Opening:
        return tr("Connection opening...", "Connection State");
    case WaitingForAnswer:
        return tr("Waiting for answer...", "Connection State");
    case Connected:
        return tr("Connected", "Connection State");
    case Closing:
        return tr("Connection closing...", "Connection State");
    case Error:
        return tr("Connection error", "Connection State");
    }
    return QString();
}

bool ConnectionStatus::linkEnded(ConnectionState state, ErrorMessage error)
{
    switch (error) {
    case NoError:
        return state == Closed || state == Error;
    case FailedToOpen:
    case UnknownDeviceType:
    case ConnectionLost:
        return true;
    }
    return false;
}

bool ConnectionStatus::linkActive(ConnectionState state, ErrorMessage error)
{
    return error == NoError && (state == Opening || state == WaitingForAnswer || state == Connected);
}
