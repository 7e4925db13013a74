// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "logbook/LogbookError.h"
#include "logbook/RideEntry.h"

#include <QCoreApplication>
#include <QList>
#include <QUndoCommand>

#include <functional>

class Logbook;

/// Rides deleted from the logbook, kept whole so that an undo puts them back as they were.
class DeleteRidesCommand : public QUndoCommand
{
    Q_DECLARE_TR_FUNCTIONS(DeleteRidesCommand)

public:
    /// Who is told what became of the rides.
    struct Listener
    {
        std::function<void()> changed; ///< the logbook's rides changed
        /// Nothing changed. A delete that failed is dropped; an undo that failed (`bringingBack`)
        /// stays, to be tried again once the stack is back on it.
        std::function<void(const LogbookError &, bool bringingBack)> failed;
        std::function<void(const QList<RideEntry> &)> keptNewer; ///< rides recorded again since, left out
    };

    /// `rides` as the logbook holds them.
    DeleteRidesCommand(Logbook &logbook, const QList<RideEntry> &rides, Listener listener);

    void redo() override;
    void undo() override;

private:
    Logbook &m_logbook;
    QList<RideEntry> m_rides; // the rides this command took out or put back, with their present ids
    Listener m_listener;
    bool m_out = false; // whether the rides are out of the logbook
};
