// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/velotool/DeviceSession.h"

#include "linkhub/BridgeDiagnosis.h"
#include "linkhub/ComConnection.h"
#include "linkhub/PortDiagnosis.h"
#include "linkhub/SupportedModels.h"
#include "tools/velotool/ModelLookup.h"

#include <QEventLoop>
#include <QStringList>

namespace {

QString seconds(std::chrono::milliseconds span)
{
    return QString::number(span.count() / 1000.0);
}

QString hexId(int id)
{
    return QStringLiteral("0x%1").arg(id, 2, 16, QLatin1Char('0'));
}

} // namespace

DeviceSession::DeviceSession(ComConnection &connection, std::chrono::milliseconds readTimeout, QObject *parent)
    : QObject(parent), m_connection(connection), m_readTimeout(readTimeout)
{
    m_readTimer.setSingleShot(true);
    m_closeTimer.setSingleShot(true);
    connect(&m_readTimer, &QTimer::timeout, this, &DeviceSession::onReadTimeout);
    connect(&m_closeTimer, &QTimer::timeout, this, &DeviceSession::onCloseTimeout);
    // Queued, so that each report is handled after the link has finished the step that made it,
    // as it is when the reports come from the link's worker threads.
    connect(&m_connection, &ComConnection::connectionStateChanged, this, &DeviceSession::onStateChanged,
            Qt::QueuedConnection);
    connect(&m_connection, &ComConnection::modelDataUpdate, this, &DeviceSession::onModelDataUpdate,
            Qt::QueuedConnection);
}

DeviceSession::~DeviceSession() = default;

QString DeviceSession::supportedModels() const
{
    if (m_acceptedModels.isEmpty())
        return SupportedModels::names(m_connection.getCatalogue()).join(QStringLiteral(", "));
    QStringList names;
    for (int id : m_acceptedModels)
        if (const DeviceModel *model = m_connection.getCatalogue().value(quint8(id), nullptr))
            names.append(model->name);
    names.sort();
    return names.join(QStringLiteral(", "));
}

bool DeviceSession::accepts(int modelId) const
{
    return m_acceptedModels.isEmpty() ? SupportedModels::isSupported(modelId) : m_acceptedModels.contains(modelId);
}

ToolFailure DeviceSession::run(const QString &port)
{
    m_port = port;
    m_phase = Phase::Connecting;
    m_readTimer.start(m_readTimeout);
    QEventLoop loop;
    m_loop = &loop;
    m_connection.open(port);
    if (m_phase != Phase::Done)
        loop.exec();
    m_loop = nullptr;
    return m_failure;
}

void DeviceSession::interrupt()
{
    if (m_phase == Phase::Idle || m_phase == Phase::Done)
        return;
    if (m_phase == Phase::Closing) {
        // A second request to stop while the device is asked to close: do not wait for it.
        m_failure = {ExitStatus::Interrupted, tr("Interrupted.")};
        m_connection.hardClose(NoError);
        finish();
        return;
    }
    fail(ExitStatus::Interrupted, tr("Interrupted; the session with the bike computer was closed."));
}

void DeviceSession::onStateChanged(ConnectionState state, ErrorMessage error)
{
    if (m_phase == Phase::Done || m_phase == Phase::Idle)
        return;

    switch (error) {
    case FailedToOpen:
        fail(ExitStatus::PortUnavailable, portProblem(m_port));
        break;
    case UnknownDeviceType:
        fail(ExitStatus::ModelRefused,
             tr("The device on %1 named a model this program does not know. Only rides of %2 can be read.")
                 .arg(m_port, supportedModels()));
        break;
    case ConnectionLost:
        if (m_phase == Phase::Closing) {
            if (m_failure.status == ExitStatus::Success)
                m_warning = tr("Warning: the bike computer did not confirm the end of the session; "
                               "the values read are complete.");
        } else if (!m_model) {
            fail(ExitStatus::DeviceSilent,
                 tr("No bike computer answered on %1. Check that it is connected and switched on and that no "
                    "other program uses the port, then try again.")
                     .arg(m_port));
        } else {
            fail(ExitStatus::DeviceSilent,
                 tr("The bike computer on %1 stopped answering (%2). Check the cable and try again.")
                     .arg(m_port, blocksReadText()));
        }
        break;
    case NoError:
        switch (state) {
        case Opening:
            emit progress(tr("Opening %1...").arg(m_port));
            break;
        case WaitingForAnswer:
            emit progress(tr("Waiting for the bike computer to answer..."));
            break;
        case Connected:
            m_connected = true;
            emit progress(tr("Connected"));
            break;
        case Closing:
            if (m_connected)
                emit progress(tr("Closing the session..."));
            break;
        case Closed:
            if (m_connected)
                emit progress(tr("Session closed"));
            if (m_phase != Phase::Closing)
                fail(ExitStatus::DeviceSilent, tr("The link to %1 closed before every value was read. Try again.")
                                                   .arg(m_port));
            break;
        case Error:
            break;
        }
        break;
    }

    if (state == Closed && m_phase == Phase::Closing)
        finish();
}

void DeviceSession::onModelDataUpdate(ModelData *data, int updateBits)
{
    if (!data || m_phase == Phase::Closing || m_phase == Phase::Done || m_phase == Phase::Idle)
        return;
    if (m_phase == Phase::Holding) {
        m_record = data; // a write adopts a copy as the link's record
        emit recordUpdated(data, updateBits);
        return;
    }
    if (updateBits == IdentityUpdate) {
        onIdentified(data);
    } else if (data != m_record) {
        return; // belongs to a record an identification has replaced since
    } else if (updateBits == FirmwareVersionUpdate && m_phase == Phase::CheckingFirmware) {
        onFirmwareVersion(*data);
    } else if (m_phase == Phase::Reading && m_progress.note(updateBits)) {
        emit progress(tr("Read %1 (%2 of %3)")
                          .arg(ReadProgress::blockName(updateBits))
                          .arg(m_progress.readCount())
                          .arg(m_progress.expectedCount()));
        if (m_progress.isComplete())
            onEveryValueRead();
    }
}

void DeviceSession::onIdentified(ModelData *data)
{
    m_record = data;
    m_model = data->deviceModel;
    m_progress = ReadProgress(*m_model);
    emit progress(tr("Model: %1 (model id %2)").arg(m_model->name, hexId(m_model->id)));
    if (!accepts(m_model->id)) {
        fail(ExitStatus::ModelRefused,
             m_acceptedModels.isEmpty()
                 ? tr("The %1 (model id %2) is not supported: only rides of %3 can be read and exported.")
                       .arg(m_model->name, hexId(m_model->id), supportedModels())
                 : tr("The %1 (model id %2) is not supported here: only %3 are.")
                 .arg(m_model->name, hexId(m_model->id), supportedModels()));
        return;
    }
    if (m_model->has(DeviceModel::FirmwareCheck)) {
        m_phase = Phase::CheckingFirmware;
        return;
    }
    startReading();
}

void DeviceSession::onFirmwareVersion(const ModelData &data)
{
    const int version = data.firmwareVersion;
    const int minimum = SupportedModels::minimumFirmware().value(m_model->id, 0);
    emit progress(tr("Firmware: %1 (lowest accepted: %2)").arg(version).arg(minimum));
    if (!SupportedModels::isFirmwareAccepted(m_model->id, version)) {
        fail(ExitStatus::FirmwareRefused,
             tr("The firmware %1 of this %2 is below the lowest accepted version %3. "
                "Please update your device with the Tunedock tool, then try again.")
                 .arg(version)
                 .arg(m_model->name)
                 .arg(minimum));
        return;
    }
    m_connection.approveFw();
    startReading();
}

void DeviceSession::startReading()
{
    m_phase = Phase::Reading;
    if (m_progress.isComplete())
        onEveryValueRead();
}

void DeviceSession::onEveryValueRead()
{
    if (!m_stayOpen) {
        beginClose();
        return;
    }
    m_phase = Phase::Holding;
    m_readTimer.stop();
    emit readComplete(m_record);
}

void DeviceSession::onReadTimeout()
{
    if (m_phase == Phase::Connecting && !m_model) {
        fail(ExitStatus::DeviceSilent,
             tr("The bike computer on %1 did not answer within %2 s. Check that it is connected and switched on, "
                "then try again.")
                 .arg(m_port, seconds(m_readTimeout)));
    } else {
        fail(ExitStatus::DeviceSilent,
             tr("The bike computer on %1 did not deliver every value within %2 s (%3). Check the cable and try again.")
                 .arg(m_port, seconds(m_readTimeout), blocksReadText()));
    }
}

void DeviceSession::onCloseTimeout()
{
    if (m_phase != Phase::Closing)
        return;
    if (m_failure.status == ExitStatus::Success)
        m_warning = tr("Warning: the bike computer did not confirm the end of the session; the values read are complete.");
    m_connection.hardClose(NoError);
    finish();
}

void DeviceSession::fail(ExitStatus status, const QString &message)
{
    if (m_failure.status == ExitStatus::Success)
        m_failure = {status, message};
    beginClose();
}

void DeviceSession::beginClose()
{
    if (m_phase == Phase::Closing || m_phase == Phase::Done)
        return;
    m_phase = Phase::Closing;
    m_readTimer.stop();
    m_closeTimer.start(CloseTimeout);
    // Polite when connected; otherwise a hard close, which also releases a port the link left open
    // (after an unknown model, or after a failed open). Either way a Closed report follows.
    m_connection.close();
}

void DeviceSession::finish()
{
    m_phase = Phase::Done;
    m_readTimer.stop();
    m_closeTimer.stop();
    if (m_loop)
        m_loop->quit();
}

QString DeviceSession::blocksReadText() const
{
    if (m_progress.expectedCount() == 0)
        return tr("no values read yet");
    return tr("%1 of %2 blocks read; missing: %3")
        .arg(m_progress.readCount())
        .arg(m_progress.expectedCount())
        .arg(m_progress.missingNames().join(QStringLiteral(", ")));
}

QString DeviceSession::accessRuleAdvice(const QString &port, const QString &group)
{
    if (group.isEmpty())
        return tr("Cannot open port %1: permission denied. Unplug the cable and plug it in again once, so that the "
                  "access rule installed with Pacerow applies; or run velotool as a user who may use the port.")
            .arg(port);
    return tr("Cannot open port %1: permission denied. Unplug the cable and plug it in again once, so that the "
              "access rule installed with Pacerow applies; or add your user to the group \"%2\" that owns it "
              "(sudo usermod -aG %2 $USER), log in again and retry.")
        .arg(port, group);
}

QString DeviceSession::portProblem(const QString &port)
{
    switch (PortDiagnosis::causeFor(port)) {
    case PortDiagnosis::Cause::Missing:
        return tr("Cannot open port %1: there is no such port. Check the cable and the name; "
                  "\"velotool ports\" lists the ports behind supported USB bridges.")
            .arg(port);
    case PortDiagnosis::Cause::PermissionDenied: {
        const QString group = PortDiagnosis::owningGroup(port);
        if (BridgeDiagnosis().hasAccessRule())
            return accessRuleAdvice(port, group);
        if (group.isEmpty())
            return tr("Cannot open port %1: permission denied. Run velotool as a user who may use the port.")
                .arg(port);
        return tr("Cannot open port %1: permission denied. Add your user to the group \"%2\" that owns it "
                  "(sudo usermod -aG %2 $USER), log in again and retry.")
            .arg(port, group);
    }
    case PortDiagnosis::Cause::Busy:
    case PortDiagnosis::Cause::Unusable:
        break;
    }
    return tr("Cannot open port %1: it is not a serial port, or another program is using it. "
              "Close other programs that use the port and try again.")
        .arg(port);
}
