// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "logbook/RideEntry.h"

#include <QTest>

/// Compares every field of two rides but their ids; the caller looks at QTest::currentTestFailed().
inline void compareRides(const RideEntry &got, const RideEntry &want)
{
    QCOMPARE(got.device, want.device);
    QCOMPARE(got.date, want.date);
    QCOMPARE(got.bike, want.bike);
    QCOMPARE(got.model, want.model);
    QCOMPARE(got.start, want.start);
    QCOMPARE(got.values, want.values);
    QCOMPARE(got.hasAltitude, want.hasAltitude);
    QCOMPARE(got.unitSystem, want.unitSystem);
    QCOMPARE(got.odometer, want.odometer);
    QCOMPARE(got.source, want.source);
    QCOMPARE(got.edited, want.edited);
    QCOMPARE(got.note, want.note);
    QCOMPARE(got.recordedAt, want.recordedAt);
    QCOMPARE(got.changedAt, want.changedAt);
}
