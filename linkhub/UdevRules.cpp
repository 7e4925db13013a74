// SPDX-License-Identifier: GPL-3.0-or-later
#include "linkhub/private/UdevRules.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

UdevRules::UdevRules(const QStringList &folders)
{
    QMap<QString, QString> seen;
    for (const QString &folder : folders) {
        const QFileInfoList entries = QDir(folder).entryInfoList({QStringLiteral("*.rules")}, QDir::Files | QDir::System);
        for (const QFileInfo &entry : entries) {
            if (!seen.contains(entry.fileName()))
                seen.insert(entry.fileName(), entry.filePath());
        }
    }
    for (auto it = seen.cbegin(); it != seen.cend(); ++it) {
        if (QFileInfo(it.value()).size() > 0)
            m_files.insert(it.key(), it.value());
    }
}

QString UdevRules::fileWithLineContaining(const QStringList &words) const
{
    for (const QString &path : m_files) {
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            continue;
        while (!file.atEnd()) {
            const QString line = QString::fromUtf8(file.readLine()).trimmed();
            if (line.startsWith(QLatin1Char('#')))
                continue;
            const bool all = std::all_of(words.cbegin(), words.cend(),
                                         [&line](const QString &word) { return line.contains(word, Qt::CaseInsensitive); });
            if (all)
                return path;
        }
    }
    return QString();
}
