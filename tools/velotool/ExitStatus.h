// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

/// The status velotool ends with; scripts tell the kinds of failure apart by it.
enum class ExitStatus : int {
    Success = 0,
    UsageError = 2,
    PortUnavailable = 3,
    DeviceSilent = 4,
    ModelRefused = 5,
    FirmwareRefused = 6,
    OutputUnwritable = 7,
    NoPortFound = 8,
    SimulatorUnavailable = 9,
    InputUnreadable = 10,
    PortalRefused = 11,
    PortalUnreachable = 12,
    LogbookUnavailable = 13,
    Interrupted = 130,
};

/// A failure that ends a command: its status and the one line that tells the user what to do.
struct ToolFailure
{
    ExitStatus status = ExitStatus::Success;
    QString message;
};
