// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkhub/linkhub_global.h"

#include <QSaveFile>
#include <QString>

/// Writes the link's transfer log (WireLog) to a file that a user attaches to a bug report.
/// The file appears whole, or not at all: lines go to a temporary file next to it, which
/// replaces it on commit(), whatever became of the session. Only the wire log's lines go
/// there; every other message goes on to the handler installed before. One at a time.
class LINKHUB_EXPORT WireLogFile
{
public:
    explicit WireLogFile(const QString &path);
    /// Commits when commit() has not run.
    ~WireLogFile();

    WireLogFile(const WireLogFile &) = delete;
    WireLogFile &operator=(const WireLogFile &) = delete;

    /// Starts the file with a line naming the program, switches the wire log on and catches its
    /// lines; false when the file cannot be written (see errorString()).
    bool open();
    /// Stops catching lines and puts the file in place; false when that fails.
    bool commit();
    QString path() const { return file.fileName(); }
    QString errorString() const { return file.errorString(); }

private:
    void stopCatching();

    QSaveFile file; // written under the lock of the message handler
    bool catching = false;
};
