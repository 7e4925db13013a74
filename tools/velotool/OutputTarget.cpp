// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/velotool/OutputTarget.h"

#include "outpost/CsvExporter.h"
#include "outpost/Outposter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <unistd.h>

namespace {

bool mayWrite(const QString &path)
{
    return ::access(QFile::encodeName(path).constData(), W_OK) == 0;
}

// Searching the folder is needed as well, to create files in it.
bool mayCreateIn(const QString &folder)
{
    return ::access(QFile::encodeName(folder).constData(), W_OK | X_OK) == 0;
}

} // namespace

OutputTarget::OutputTarget(const QString &path)
    : m_path(path), m_kind(path.endsWith(QLatin1String(".fit"), Qt::CaseSensitive) ? Kind::Fit : Kind::CsvLog)
{
}

std::optional<ToolFailure> OutputTarget::checkWritable() const
{
    const QFileInfo file(m_path);
    const QString folder = QDir::toNativeSeparators(file.absolutePath());
    const auto failure = [](const QString &message) {
        return ToolFailure{ExitStatus::OutputUnwritable, message};
    };

    if (!QFileInfo(file.absolutePath()).isDir())
        return failure(tr("Cannot write %1: the folder %2 does not exist. Create it first, or name a file in "
                          "another folder.")
                           .arg(m_path, folder));
    if (file.isDir())
        return failure(tr("Cannot write %1: it is a folder. Name a file, such as %2.")
                           .arg(m_path, QDir(m_path).filePath(m_kind == Kind::Fit ? QStringLiteral("ride.fit")
                                                                                  : QStringLiteral("rides.csv"))));
    // A FIT file is written next to its target and then put in its place; a log is appended to
    // where it is, so only a new one needs the folder.
    if ((m_kind == Kind::Fit || !file.exists()) && !mayCreateIn(file.absolutePath()))
        return failure(tr("Cannot write %1: you may not create files in the folder %2. Choose another folder.")
                           .arg(m_path, folder));
    if (file.exists() && !mayWrite(m_path))
        return failure(tr("Cannot write %1: you may not change that file. Choose another name.").arg(m_path));
    return std::nullopt;
}

std::optional<ToolFailure> OutputTarget::write(ModelData *record, int bikeIndex, const QDateTime &rideStart) const
{
    const bool written = m_kind == Kind::Fit ? Outposter::exportToFit(m_path, record, bikeIndex, rideStart)
                                             : CsvExporter::exportToCsv(m_path, record, bikeIndex, rideStart);
    if (written)
        return std::nullopt;
    return ToolFailure{ExitStatus::OutputUnwritable,
                       tr("Writing %1 failed, and the file was left as it was. Make sure that there is space on the "
                          "disk, that you may write there and that no other program is using the file.")
                           .arg(m_path)};
}
