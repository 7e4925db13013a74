#pragma once

#include <QDateTime>
#include <QString>

class ModelData;

/// Appends a ride to a CSV log so that the log is never left with half a line: the exporter
/// appends to a copy next to the log, and only a complete copy replaces the log, in one rename.
class SafeLogAppender
{
public:
    /// Same arguments and result as CsvExporter::exportToCsv. On failure the log is unchanged.
    static bool append(const QString &logPath, ModelData *record, int bikeIndex, const QDateTime &rideStart);

private:
    static bool copyInto(const QString &source, const QString &copy);
};
