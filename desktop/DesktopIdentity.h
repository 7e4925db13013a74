// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

/// The name the desktop programs go by. It fixes where their settings live, so the wizard and the
/// logbook window share one store, and with it one logbook and one choice of units and folders.
class DesktopIdentity
{
public:
    /// Call before the application object is made.
    static void set(const QString &version);
};
