// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QCoreApplication>
#include <QDateTime>
#include <QString>

class ModelData;
class QMessageBox;
class QWidget;

/// Keeps every exported ride in the logbook that the settings name ("logbook/path", the user's
/// own by default), unless "logbook/enabled" is false. A logbook that cannot be written never
/// undoes the export: a message that does not block says so beside it.
class LogbookRecording
{
    Q_DECLARE_TR_FUNCTIONS(LogbookRecording)

public:
    /// Records the ride of bike index `bikeIndex` as exported. `edited` marks values the user
    /// corrected. On failure, shows the message over `window` and returns it (owned by Qt).
    static QMessageBox *recordExport(QWidget *window, const ModelData &exported, int bikeIndex, const QDateTime &start,
                                     bool edited);
};
