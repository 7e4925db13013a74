// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkhub/ConnectionState.h"

#include <QCoreApplication>
#include <QString>

/// How the desktop program words a state report of the device link, the same on every window.
class ConnectionStatus
{
    Q_DECLARE_TR_FUNCTIONS(ConnectionStatus)

public:
    /// The status-line text of a report; empty for a state or error this program does not know,
    /// in which case the status line keeps what it shows.
    static QString text(ConnectionState state, ErrorMessage error);
    /// True when the report means the link is down (closed, failed or lost): the user may
    /// connect again, and a window waiting for the link may go.
    static bool linkEnded(ConnectionState state, ErrorMessage error);
    /// True while the link is being opened or is connected.
    static bool linkActive(ConnectionState state, ErrorMessage error);
};
