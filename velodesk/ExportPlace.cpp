// SPDX-License-Identifier: GPL-3.0-or-later
#include "velodesk/ExportPlace.h"

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

QString ExportPlace::proposedName(const QString &modelName, const QDate &day, int bike)
{
    // Only letters and digits of the model's name: "Lumo 60" gives "lumo60".
    static const QRegularExpression notAlphanumeric(QStringLiteral("[^a-z0-9]"));
    const QString model = modelName.toLower().remove(notAlphanumeric);
    return QStringLiteral("%1-%2-bike%3.fit").arg(model, day.toString(QStringLiteral("yyyy-MM-dd"))).arg(bike);
}
