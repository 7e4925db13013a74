// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

/// The device rules in force, read as udev reads them: of files with the same name in several
/// folders the one in the first folder wins, and an empty file (or one that points to /dev/null)
/// turns that name off.
class UdevRules
{
public:
    explicit UdevRules(const QStringList &folders);

    bool hasFile(const QString &name) const { return m_files.contains(name); }
    /// The rules file in force whose rule lines (comments left out) include one containing
    /// every one of the words, ignoring case; empty when none does.
    QString fileWithLineContaining(const QStringList &words) const;

private:
    QMap<QString, QString> m_files; // file name -> path of the one in force
};
