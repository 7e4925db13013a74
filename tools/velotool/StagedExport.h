#pragma once

#include <QDateTime>
#include <QString>

class ModelData;

/// Runs an exporter on a file next to the target and puts the result in place with one rename,
/// only once it is known to be complete: a failed export, a full disk or a write cut short
/// leave the target exactly as it was, and no half-written file anywhere.
class StagedExport
{
public:
    /// Outposter::exportToFit, with its result checked byte for byte before it replaces the target.
    static bool writeFit(const QString &path, ModelData *record, int bikeIndex, const QDateTime &rideStart);
    /// CsvExporter::exportToCsv, on a copy of the log that replaces the log when the line was added.
    static bool appendCsv(const QString &path, ModelData *record, int bikeIndex, const QDateTime &rideStart);

private:
    /// The file that really gets replaced: a symbolic link is followed, so that it stays a link.
    static QString resolvedTarget(const QString &path);
    /// A name next to the target that no file has yet; empty when the folder refuses new files.
    static QString freeStagingName(const QString &target);
    static bool copyInto(const QString &source, const QString &copy);
    static QByteArray readAll(const QString &path, bool *ok);
    /// Gives the staged file the target's permissions, if it had any, and renames it over the target.
    static bool replace(const QString &staged, const QString &target);
};
