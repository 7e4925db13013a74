// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tools/velotool/ExitStatus.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QString>

#include <optional>

class ModelData;

/// The file an export writes: a FIT activity file when the name ends in ".fit" (exactly so),
/// otherwise a CSV log the ride is appended to.
class OutputTarget
{
    Q_DECLARE_TR_FUNCTIONS(OutputTarget)

public:
    enum class Kind { Fit, CsvLog };

    explicit OutputTarget(const QString &path);

    Kind kind() const { return m_kind; }
    QString path() const { return m_path; }

    /// Checks, before the device is read, that the file can be written: its folder exists and
    /// may be written to, and the name is not a folder or a file that may not be changed.
    std::optional<ToolFailure> checkWritable() const;
    /// Writes the ride; the file is either complete or left as it was.
    std::optional<ToolFailure> write(ModelData *record, int bikeIndex, const QDateTime &rideStart) const;

private:
    QString m_path;
    Kind m_kind;
};
