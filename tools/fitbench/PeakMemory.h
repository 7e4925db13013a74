// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QtGlobal>

/// The process's resident memory as the kernel counts it, with a peak that can be reset, so that
/// the peak of one piece of work can be read (Linux).
namespace PeakMemory {

/// Resets the peak to the present resident size; false when the kernel does not allow it.
bool reset();
/// Present resident size in bytes.
qint64 resident();
/// Highest resident size in bytes since the last reset.
qint64 peak();

} // namespace PeakMemory
