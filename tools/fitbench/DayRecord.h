// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>

/// A raw ride record of a whole day, one sample a second, with a time mark every hour and the
/// pedal balance missing now and then, so that the exporter meets every kind of block.
namespace DayRecord {

constexpr int Samples = 86400;

QByteArray make();

} // namespace DayRecord
