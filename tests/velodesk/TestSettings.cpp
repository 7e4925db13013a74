// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestSettings.h"

#include "velodesk/Startup.h"

#include <QSettings>
#include <QStandardPaths>

TestSettings::TestSettings()
{
    QStandardPaths::setTestModeEnabled(true);
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, folder.path());
    Startup::setIdentity();
    clear();
}

TestSettings::~TestSettings()
{
    clear();
}

void TestSettings::clear()
{
    QSettings settings;
    settings.clear();
    // Exports keep their rides in a logbook of the test's, never in the user's.
    settings.setValue(QStringLiteral("logbook/path"), folder.filePath(QStringLiteral("logbook.sqlite")));
    settings.sync();
}

QVariant TestSettings::showIntro()
{
    return QSettings().value(QStringLiteral("show_intro"));
}

void TestSettings::setShowIntro(bool show)
{
    QSettings settings;
    settings.setValue(QStringLiteral("show_intro"), show);
    settings.sync();
}

bool TestSettings::isIsolated() const
{
    return QSettings().fileName().startsWith(folder.path() + QLatin1Char('/'));
}
