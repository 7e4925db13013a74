// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/simulator/FaultMode.h"

#include <QTest>

/// Rows of a Lumo 60 whose read of the values ends early: the fault, its count and the values
/// then missing, as both windows name them.
namespace ReadCutShort {

inline void addRows()
{
    QTest::addColumn<int>("fault");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("missing");

    // A Lumo 60 reads eight blocks after its firmware check.
    QTest::newRow("silent after the firmware answer")
        << int(FaultMode::SilentAfterFirmware) << 0
        << "altitude and temperature, current bike, heart rate and energy, clock, bike 1, bike 2, bike extras, "
           "model option";
    // Identification, firmware and five blocks answered (bike 1 the last of them); the bridge is
    // pulled at the sixth request.
    QTest::newRow("unplugged mid-read") << int(FaultMode::UnplugAfter) << 7 << "bike 2, bike extras, model option";
}

} // namespace ReadCutShort
