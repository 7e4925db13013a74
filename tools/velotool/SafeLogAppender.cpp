#include "tools/velotool/SafeLogAppender.h"

#include "outpost/CsvExporter.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cstdio>

bool SafeLogAppender::append(const QString &logPath, ModelData *record, int bikeIndex, const QDateTime &rideStart)
{
    // A log reached through a symbolic link is replaced where it really is, keeping the link.
    const QFileInfo given(logPath);
    QString target = given.absoluteFilePath();
    if (given.isSymLink())
        target = given.exists() ? given.canonicalFilePath() : given.symLinkTarget();
    const QFileInfo targetInfo(target);

    QTemporaryFile staging(targetInfo.absolutePath() + QStringLiteral("/.") + targetInfo.fileName()
                           + QStringLiteral(".XXXXXX"));
    if (!staging.open())
        return false;
    const QString copy = staging.fileName();
    staging.close();

    if (targetInfo.exists()) {
        if (!copyInto(target, copy))
            return false;
        QFile::setPermissions(copy, targetInfo.permissions());
    } else {
        // The exporter writes the column headings only into a file it creates itself.
        QFile::remove(copy);
    }

    if (!CsvExporter::exportToCsv(copy, record, bikeIndex, rideStart)) {
        QFile::remove(copy);
        return false;
    }
    staging.setAutoRemove(false);
    if (std::rename(QFile::encodeName(copy).constData(), QFile::encodeName(target).constData()) != 0) {
        QFile::remove(copy);
        return false;
    }
    return true;
}

bool SafeLogAppender::copyInto(const QString &source, const QString &copy)
{
    QFile in(source);
    QFile out(copy);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly | QIODevice::Truncate))
        return false;
    constexpr qint64 ChunkSize = 64 * 1024;
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(ChunkSize);
        if (chunk.isEmpty() && in.error() != QFileDevice::NoError)
            return false;
        if (out.write(chunk) != chunk.size())
            return false;
    }
    return out.flush() && in.error() == QFileDevice::NoError;
}
