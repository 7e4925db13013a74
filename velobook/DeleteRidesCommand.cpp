// SPDX-License-Identifier: GPL-3.0-or-later
#include "velobook/DeleteRidesCommand.h"

#include "logbook/RideRecorder.h"

DeleteRidesCommand::DeleteRidesCommand(Logbook &logbook, const QList<RideEntry> &rides, Listener listener)
    : m_logbook(logbook), m_rides(rides), m_listener(std::move(listener))
{
    // Shown after "Undo" in the action's text.
    setText(rides.size() == 1 ? tr("delete ride") : tr("delete %n rides", nullptr, int(rides.size())));
}

void DeleteRidesCommand::redo()
{
    // The stack goes forward again over an undo that failed: the rides are still out.
    if (m_out)
        return;
    QList<qint64> ids;
    for (const RideEntry &ride : m_rides)
        ids << ride.id;
    if (const auto failure = RideRecorder(m_logbook).remove(ids)) {
        // An obsolete command leaves the stack: there is nothing to undo.
        setObsolete(true);
        m_listener.failed(*failure, false);
        return;
    }
    m_out = true;
    m_listener.changed();
}

void DeleteRidesCommand::undo()
{
    QList<RideEntry> leftOut;
    if (const auto failure = RideRecorder(m_logbook).restore(m_rides, leftOut)) {
        // The rides stay out, and the command stays, so that the undo can be tried again.
        m_listener.failed(*failure, true);
        return;
    }
    m_out = false;
    if (!leftOut.isEmpty())
        m_listener.keptNewer(leftOut);
    m_listener.changed();
}
