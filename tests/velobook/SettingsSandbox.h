// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>

/// The program's identity with its settings in a fresh temporary folder for the life of the
/// object, so that tests never read or change the user's.
class SettingsSandbox
{
public:
    SettingsSandbox()
    {
        QStandardPaths::setTestModeEnabled(true);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_folder.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_folder.path());
        QCoreApplication::setApplicationName(QStringLiteral("Pacerow"));
        QCoreApplication::setOrganizationName(QStringLiteral("Velquist"));
        QSettings().clear();
    }

    ~SettingsSandbox() { QSettings().clear(); }

    bool isIsolated() const { return QSettings().fileName().startsWith(m_folder.path() + QLatin1Char('/')); }

private:
    QTemporaryDir m_folder;
};
