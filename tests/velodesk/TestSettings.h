// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QTemporaryDir>

/// Points the per-user settings of the program at a fresh temporary folder for the life of the
/// object, so tests never read or change the real ones. Also sets the program's identity.
class TestSettings
{
public:
    TestSettings();
    ~TestSettings();

    /// Removes every stored setting, and names a logbook in the temporary folder.
    void clear();
    /// The stored "show_intro", or an invalid value when it was never written.
    static QVariant showIntro();
    static void setShowIntro(bool show);
    /// Whether the program's settings file lies inside the temporary folder.
    bool isIsolated() const;

private:
    QTemporaryDir folder;
};
