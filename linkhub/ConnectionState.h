// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMetaType>

/// Where a link stands; reported together with an ErrorMessage by connectionStateChanged.
enum ConnectionState : int {
    Closed = 0,
    Opening = 1,
    WaitingForAnswer = 2,
    Connected = 3,
    Closing = 4,
    Error = 5,
};

/// Why a state was reported; NoError for an ordinary change. Both enumerations are int-based, so
/// that a value a newer link might send is still a valid value for the receiver to ignore.
enum ErrorMessage : int {
    NoError = 0,
    FailedToOpen = 1,
    UnknownDeviceType = 2,
    ConnectionLost = 3,
};

Q_DECLARE_METATYPE(ConnectionState)
Q_DECLARE_METATYPE(ErrorMessage)
