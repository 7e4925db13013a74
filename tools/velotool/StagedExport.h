#pragma once

#include <QDateTime>
#include <QString>

class ModelData;

/// Appends to a CSV log through a copy next to it, which replaces the log with one rename only
/// once the line was added: a failed export, a full disk or a write cut short leave the log
/// exactly as it was. (FIT files need no staging: the exporter replaces them whole.)
class StagedExport
{
public:
    /// CsvExporter::exportToCsv, on a copy of the log that replaces the log when the line was added.
    static bool appendCsv(const QString &path, ModelData *record, int bikeIndex, const QDateTime &rideStart);

private:
    /// The file that really gets replaced: a symbolic link is followed, so that it stays a link.
    static QString resolvedTarget(const QString &path);
    /// A name next to the target that no file has yet; empty when the folder refuses new files.
    static QString freeStagingName(const QString &target);
    static bool copyInto(const QString &source, const QString &copy);
    /// Gives the staged file the target's permissions, if it had any, and renames it over the target.
    static bool replace(const QString &staged, const QString &target);
};
