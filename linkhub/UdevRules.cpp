// SPDX-License-Identifier: GPL-3.0-or-later
#include "linkhub/private/UdevRules.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

UdevRules::UdevRules(const QStringList &folders)
{
    for (const QString &folder : folders) {
        const QFileInfoList entries = QDir(folder).entryInfoList({QStringLiteral("*.rules")}, QDir::Files | QDir::System);
        for (const QFileInfo &entry : entries) {
            if (!m_files.contains(entry.fileName()))
                m_files.insert(entry.fileName(), entry.filePath());
        }
    }
}

bool UdevRules::hasLineContaining(const QString &path, const QStringList &words)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return false;
    while (!file.atEnd()) {
        const QString line = QString::fromUtf8(file.readLine()).trimmed();
        if (line.startsWith(QLatin1Char('#')))
            continue;
        const bool all = std::all_of(words.cbegin(), words.cend(),
                                     [&line](const QString &word) { return line.contains(word, Qt::CaseInsensitive); });
        if (all)
            return true;
    }
    return false;
}

QString UdevRules::fileWithLineContaining(const QStringList &words) const
{
    for (const QString &path : m_files) {
        if (hasLineContaining(path, words))
            return path;
    }
    return QString();
}

bool UdevRules::fileHasLineContaining(const QString &name, const QStringList &words) const
{
    return m_files.contains(name) && hasLineContaining(m_files.value(name), words);
}
