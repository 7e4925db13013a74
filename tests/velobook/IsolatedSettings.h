// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QSettings>
#include <QTemporaryDir>

/// Keeps the settings store (the unit choice) in a temporary folder while the test runs.
class IsolatedSettings
{
public:
    IsolatedSettings()
    {
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_folder.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_folder.path());
        QCoreApplication::setOrganizationName(QStringLiteral("Velquist"));
        QCoreApplication::setApplicationName(QStringLiteral("Pacerow"));
    }

    bool isIsolated() const { return QSettings().fileName().startsWith(m_folder.path() + QLatin1Char('/')); }

private:
    QTemporaryDir m_folder;
};
