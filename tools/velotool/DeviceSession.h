// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkhub/ConnectionState.h"
#include "linkhub/ReadProgress.h"
#include "tools/velotool/ExitStatus.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <chrono>

class ComConnection;
class DeviceModel;
class ModelData;
class QEventLoop;

/// Drives one session of the device link from opening the port to closing it again: waits for the
/// identification, refuses models and firmware the export does not accept, lets the link read
/// every block of the model's request list, then closes politely. Only the blocks of that list
/// count, each once; a block that never arrives ends the read as a failure that names it.
///
/// The whole read is bounded: a device that stays silent, or does not deliver every block in
/// time, ends the session with ExitStatus::DeviceSilent. The closing is bounded as well.
class DeviceSession : public QObject
{
    Q_OBJECT

public:
    /// How long opening, identifying and reading every block may take together.
    static constexpr std::chrono::milliseconds DefaultReadTimeout{30000};
    /// How long the device may take to confirm the end of the session; the link itself gives up
    /// sooner (three unanswered transmissions), this only guards against a link that never reports.
    static constexpr std::chrono::milliseconds CloseTimeout{10000};

    DeviceSession(ComConnection &connection, std::chrono::milliseconds readTimeout, QObject *parent = nullptr);
    ~DeviceSession() override;

    /// Opens the port and runs the session to its end; returns once the link is closed.
    /// ExitStatus::Success when every block was read.
    ToolFailure run(const QString &port);
    /// Ends a running session early: closes the link and reports ExitStatus::Interrupted.
    void interrupt();

    /// The models the session reads; by default those whose rides can be exported.
    void setAcceptedModels(const QList<int> &modelIds) { m_acceptedModels = modelIds; }
    /// Keeps the link open once every value was read: readComplete() follows, and the caller
    /// ends the session with closeSession() (or abort()).
    void setStayOpen(bool stayOpen) { m_stayOpen = stayOpen; }
    /// Closes the session politely; run() returns once the link is closed.
    void closeSession() { beginClose(); }
    /// Ends the session with a failure.
    void abort(ExitStatus status, const QString &message) { fail(status, message); }

    /// The record read, owned by the connection; null before the device identified itself.
    ModelData *record() const { return m_record; }
    /// Set when the values were read completely but the device did not confirm the close.
    QString warning() const { return m_warning; }

    /// One line naming a port that cannot be opened, what went wrong and what to do.
    static QString portProblem(const QString &port);
    /// The line for a port the user may not use while the package's access rule is in force.
    static QString accessRuleAdvice(const QString &port, const QString &group);

signals:
    /// A line about what the session is doing now.
    void progress(const QString &line);
    /// Every value was read and the link stays open (setStayOpen).
    void readComplete(ModelData *record);
    /// After readComplete(): a block of the record was filled or written; the record named is the
    /// link's current one (a write replaces it), valid until the next report.
    void recordUpdated(ModelData *record, int updateBits);

private:
    enum class Phase { Idle, Connecting, CheckingFirmware, Reading, Holding, Closing, Done };

    void onStateChanged(ConnectionState state, ErrorMessage error);
    void onModelDataUpdate(ModelData *data, int updateBits);
    void onIdentified(ModelData *data);
    void onFirmwareVersion(const ModelData &data);
    void startReading();
    void onEveryValueRead();
    void onReadTimeout();
    void onCloseTimeout();
    void fail(ExitStatus status, const QString &message);
    void beginClose();
    void finish();
    QString blocksReadText() const;
    QString supportedModels() const;
    bool accepts(int modelId) const;

    ComConnection &m_connection;
    const std::chrono::milliseconds m_readTimeout;
    QString m_port;
    Phase m_phase = Phase::Idle;
    bool m_connected = false; // the device identified itself in this session
    ToolFailure m_failure;
    QString m_warning;
    const DeviceModel *m_model = nullptr;
    ModelData *m_record = nullptr;
    ReadProgress m_progress;
    QTimer m_readTimer;
    QTimer m_closeTimer;
    QEventLoop *m_loop = nullptr; // set while run() waits
    QList<int> m_acceptedModels; // empty: the supported ones
    bool m_stayOpen = false;
};
