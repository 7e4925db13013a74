// SPDX-License-Identifier: GPL-3.0-or-later
#include "outpost/ExportPlace.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>

QString ExportPlace::folder()
{
    const QString last = QSettings().value(QLatin1String(LastFolderKey)).toString();
    if (!last.isEmpty() && QFileInfo(last).isDir())
        return last;
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

void ExportPlace::remember(const QString &writtenPath)
{
    QSettings().setValue(QLatin1String(LastFolderKey), QFileInfo(writtenPath).absolutePath());
}

namespace {

// Only letters and digits of the model's name: "Lumo 60" gives "lumo60".
QString modelPart(const QString &modelName)
{
    static const QRegularExpression notAlphanumeric(QStringLiteral("[^a-z0-9]"));
    return modelName.toLower().remove(notAlphanumeric);
}

} // namespace

QString ExportPlace::proposedName(const QString &modelName, const QDate &day, int bike)
{
    return QStringLiteral("%1-%2-bike%3.fit").arg(modelPart(modelName), day.toString(QStringLiteral("yyyy-MM-dd"))).arg(bike);
}

QString ExportPlace::proposedLogName(const QString &modelName, int bike)
{
    return QStringLiteral("%1-bike%2.csv").arg(modelPart(modelName)).arg(bike);
}
