// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/velotool/ValueWriter.h"

#include "linkhub/ComConnection.h"
#include "linkhub/ReadProgress.h"
#include "tools/velotool/Console.h"
#include "tools/velotool/DeviceReader.h"
#include "tools/velotool/DeviceSession.h"
#include "tools/velotool/InterruptWatcher.h"

#include <QTimer>

QList<int> ValueWriter::writableModels()
{
    // The Lumo 70's settings answers come in a short form the link leaves undecoded.
    return {0x11, 0x12, 0x21, 0x22, 0x23, 0x51};
}

ToolFailure ValueWriter::run(const Change &change)
{
    if (const auto failure = m_device.prepare())
        return *failure;
    ComConnection &connection = m_device.connection();
    DeviceSession session(connection, m_device.timeout());
    session.setAcceptedModels(writableModels());
    session.setStayOpen(true);
    QObject::connect(&session, &DeviceSession::progress, &session, [this](const QString &line) { m_console.progress(line); });
    QObject::connect(&m_device.interrupts(), &InterruptWatcher::interrupted, &session, &DeviceSession::interrupt);

    ModelData written(nullptr);
    bool awaitingAdoption = false;
    int readsLeft = ReadBackAttempts;
    QTimer confirmTimer;
    confirmTimer.setSingleShot(true);
    QObject::connect(&confirmTimer, &QTimer::timeout, &session, [&] {
        session.abort(ExitStatus::DeviceSilent,
                      tr("The bike computer on %1 did not report the new value within %2 s. Check the cable and try again.")
                          .arg(m_device.port())
                          .arg(std::chrono::duration_cast<std::chrono::seconds>(ConfirmTimeout).count()));
    });

    QObject::connect(&session, &DeviceSession::readComplete, &session, [&](ModelData *record) {
        // Only the reads asked for here may answer from now on.
        connection.stopTimer();
        m_before = *record;
        ModelData copy = *record;
        if (const std::optional<ToolFailure> refusal = change.apply(copy)) {
            session.abort(refusal->status, refusal->message);
            return;
        }
        written = copy;
        awaitingAdoption = true;
        m_console.progress(tr("Writing %1...").arg(ReadProgress::blockName(change.block)));
        confirmTimer.start(ConfirmTimeout);
        connection.sendModelData(&copy, change.block);
    });
    QObject::connect(&session, &DeviceSession::recordUpdated, &session, [&](ModelData *record, int bits) {
        if (bits != change.block)
            return;
        if (!awaitingAdoption && change.took(written, *record)) {
            confirmTimer.stop();
            m_after = *record;
            session.closeSession();
            return;
        }
        if (!awaitingAdoption && --readsLeft <= 0) {
            confirmTimer.stop();
            session.abort(ExitStatus::DeviceSilent, change.notTaken(*record));
            return;
        }
        awaitingAdoption = false; // the announcement of the record just written
        connection.sendCommand(change.readBack(*record));
    });

    const ToolFailure outcome = session.run(m_device.port());
    if (outcome.status == ExitStatus::Success && !session.warning().isEmpty())
        m_console.error(session.warning());
    return outcome;
}
