#include "tools/velotool/StagedExport.h"

#include "outpost/CsvExporter.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryFile>

#include <cstdio>

namespace {

/// Removes the staged file unless it was put in place.
class StagedFile
{
public:
    explicit StagedFile(QString path) : m_path(std::move(path)) {}
    ~StagedFile()
    {
        if (!m_kept && !m_path.isEmpty())
            QFile::remove(m_path);
    }
    StagedFile(const StagedFile &) = delete;
    StagedFile &operator=(const StagedFile &) = delete;

    const QString &path() const { return m_path; }
    bool isValid() const { return !m_path.isEmpty(); }
    void keep() { m_kept = true; }

private:
    QString m_path;
    bool m_kept = false;
};

} // namespace

bool StagedExport::appendCsv(const QString &path, ModelData *record, int bikeIndex, const QDateTime &rideStart)
{
    const QString target = resolvedTarget(path);
    StagedFile staged(freeStagingName(target));
    if (!staged.isValid())
        return false;
    // The exporter writes the column headings only into a file it creates, so a new log is
    // created by the exporter itself.
    if (QFileInfo::exists(target) && !copyInto(target, staged.path()))
        return false;
    if (!CsvExporter::exportToCsv(staged.path(), record, bikeIndex, rideStart))
        return false;
    if (!replace(staged.path(), target))
        return false;
    staged.keep();
    return true;
}

QString StagedExport::resolvedTarget(const QString &path)
{
    const QFileInfo given(path);
    if (!given.isSymLink())
        return given.absoluteFilePath();
    return given.exists() ? given.canonicalFilePath() : given.symLinkTarget();
}

QString StagedExport::freeStagingName(const QString &target)
{
    const QFileInfo info(target);
    QTemporaryFile reserve(info.absolutePath() + QStringLiteral("/.") + info.fileName() + QStringLiteral(".XXXXXX"));
    if (!reserve.open())
        return QString();
    // Only the name is wanted; the random part keeps it free for the moment it takes to reuse it.
    return reserve.fileName();
}

bool StagedExport::copyInto(const QString &source, const QString &copy)
{
    QFile in(source);
    QFile out(copy);
    if (!in.open(QIODevice::ReadOnly) || !out.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return false;
    constexpr qint64 ChunkSize = 64 * 1024;
    while (!in.atEnd()) {
        const QByteArray chunk = in.read(ChunkSize);
        if (chunk.isEmpty() || out.write(chunk) != chunk.size())
            return false;
    }
    out.close();
    return in.error() == QFileDevice::NoError && out.error() == QFileDevice::NoError;
}

bool StagedExport::replace(const QString &staged, const QString &target)
{
    if (QFileInfo::exists(target))
        QFile::setPermissions(staged, QFile::permissions(target));
    return std::rename(QFile::encodeName(staged).constData(), QFile::encodeName(target).constData()) == 0;
}
