// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QMap>
#include <QString>
#include <QStringList>

/// The device rules in force, read as udev reads them: of files with the same name in several
/// folders the one in the first folder wins, so an administrator turns a package's rules off with
/// an empty file (or a link to /dev/null) of the same name in /etc/udev/rules.d.
class UdevRules
{
public:
    explicit UdevRules(const QStringList &folders);

    /// The rules file in force whose rule lines (comments left out) include one containing
    /// every one of the words, ignoring case; empty when none does.
    QString fileWithLineContaining(const QStringList &words) const;
    /// Whether the file of that name in force has such a line.
    bool fileHasLineContaining(const QString &name, const QStringList &words) const;

private:
    static bool hasLineContaining(const QString &path, const QStringList &words);

    QMap<QString, QString> m_files; // file name -> path of the one in force
};
