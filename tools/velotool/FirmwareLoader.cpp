// SPDX-License-Identifier: GPL-3.0-or-later
#include "tools/velotool/FirmwareLoader.h"

#include "linkhub/ComConnection.h"
#include "linkhub/FirmwareImage.h"
#include "tools/velotool/Console.h"
#include "tools/velotool/DeviceSession.h"

#include <QEventLoop>

#include <cstdio>
#include <unistd.h>

namespace {

constexpr int BarWidth = 30;
/// Bytes on the wire per block besides its data: the frame around it and the acknowledgement.
constexpr int FramingBytesPerBlock = 12;

qint64 transferSeconds(const DeviceModel &model)
{
    const auto onTheWire = ComConnection::wireTime(qsizetype(model.fwBlockCount) * (model.fwBlockSize + FramingBytesPerBlock),
                                                   ComConnection::FirmwareBaudRate);
    return std::chrono::duration_cast<std::chrono::seconds>(onTheWire + 2 * ComConnection::BootloaderPause).count();
}

} // namespace

FirmwareLoader::FirmwareLoader(ComConnection &connection, Console &console, QObject *parent)
    : QObject(parent), m_connection(connection), m_console(console), m_onTerminal(::isatty(::fileno(stderr)) == 1)
{
    m_identifyTimer.setSingleShot(true);
    connect(&m_identifyTimer, &QTimer::timeout, this, [this] {
        fail(ExitStatus::DeviceSilent,
             tr("No bike computer identified itself on %1. Check that it is connected and switched on; a device "
                "that shows no firmware takes the image with --recovery MODEL.")
                 .arg(m_port));
    });
    // Queued, so that each report is handled after the link has finished the step that made it.
    connect(&m_connection, &ComConnection::connectionStateChanged, this, &FirmwareLoader::onStateChanged,
            Qt::QueuedConnection);
    connect(&m_connection, &ComConnection::modelDataUpdate, this, &FirmwareLoader::onModelDataUpdate,
            Qt::QueuedConnection);
    connect(&m_connection, &ComConnection::fwUpdateProgressChanged, this, &FirmwareLoader::onProgress,
            Qt::QueuedConnection);
    connect(&m_connection, &ComConnection::fwUpdateComplete, this, &FirmwareLoader::onComplete, Qt::QueuedConnection);
}

FirmwareLoader::~FirmwareLoader() = default;

ToolFailure FirmwareLoader::run(const QString &port, const QByteArray &image, const DeviceModel *recoveryModel,
                                std::chrono::milliseconds identifyTimeout)
{
    m_port = port;
    m_image = image;
    m_phase = Phase::Identifying;
    QEventLoop loop;
    m_loop = &loop;
    if (recoveryModel) {
        m_connection.open(port, true);
        if (m_connection.getConnectionState() == WaitingForAnswer)
            startTransfer(*recoveryModel, false);
    } else {
        m_console.progress(tr("Waiting for the bike computer on %1 to identify itself...").arg(port));
        m_identifyTimer.start(identifyTimeout);
        m_connection.open(port);
    }
    if (m_phase != Phase::Done)
        loop.exec();
    m_loop = nullptr;
    return m_outcome;
}

void FirmwareLoader::startTransfer(const DeviceModel &model, bool enterBootloader)
{
    m_identifyTimer.stop();
    m_model = &model;
    if (!FirmwareImage::isComplete(m_image, model)) {
        fail(ExitStatus::InputUnreadable, tr("The image holds %1 bytes; the %2 needs at least %3. Nothing was sent.")
                                            .arg(m_image.size())
                                            .arg(model.name)
                                            .arg(FirmwareImage::requiredSize(model)));
        return;
    }
    m_phase = Phase::Transferring;
    m_clock.start();
    m_console.progress(tr("Loading %1 blocks into the %2 at %3 baud; this takes about %4 s.")
                           .arg(model.fwBlockCount)
                           .arg(model.name)
                           .arg(ComConnection::FirmwareBaudRate)
                           .arg(transferSeconds(model)));
    m_connection.setDeviceModel(m_connection.getCatalogue().value(model.id));
    if (!m_connection.sendFirmwareUpdate(m_image, enterBootloader))
        fail(ExitStatus::InputUnreadable, tr("The link refused the image; nothing was sent."));
}

void FirmwareLoader::onModelDataUpdate(ModelData *data, int updateBits)
{
    if (m_phase != Phase::Identifying || updateBits != IdentityUpdate || !data || !data->deviceModel)
        return;
    const DeviceModel &model = *data->deviceModel;
    m_console.progress(tr("Model: %1").arg(model.name));
    startTransfer(model, true);
}

void FirmwareLoader::onStateChanged(ConnectionState state, ErrorMessage error)
{
    if (m_phase == Phase::Done)
        return;
    switch (error) {
    case FailedToOpen:
        fail(ExitStatus::PortUnavailable, DeviceSession::portProblem(m_port));
        break;
    case UnknownDeviceType:
        fail(ExitStatus::ModelRefused,
             tr("The device on %1 named a model this program does not know; no firmware was sent.").arg(m_port));
        break;
    case ConnectionLost:
        fail(ExitStatus::DeviceSilent, lostMessage());
        break;
    case NoError:
        if (state == Closed)
            fail(ExitStatus::DeviceSilent, lostMessage());
        break;
    }
}

QString FirmwareLoader::lostMessage() const
{
    if (m_phase != Phase::Transferring)
        return tr("No bike computer answered on %1. Check that it is connected and switched on, then try again.")
            .arg(m_port);
    return tr("The link to the bike computer on %1 was lost during the transfer; the last block acknowledged was "
              "%2 of %3. The device may now be without firmware: load the image again with "
              "\"velotool firmware --port %1 --recovery \"%4\" IMAGE\".")
        .arg(m_port)
        .arg(m_acked)
        .arg(m_model->fwBlockCount)
        .arg(m_model->name);
}

QString FirmwareLoader::progressText(int acked, int total, std::chrono::milliseconds elapsed, bool withBar)
{
    const int percent = total > 0 ? acked * 100 / total : 0;
    QString text = tr("block %1 of %2, %3 %").arg(acked).arg(total).arg(percent);
    if (acked > 0 && acked < total) {
        const qint64 left = elapsed.count() * (total - acked) / acked / 1000;
        text += tr(", about %1 s left").arg(left);
    }
    if (!withBar)
        return text;
    const int filled = total > 0 ? BarWidth * acked / total : 0;
    return QStringLiteral("[%1%2] ").arg(QString(filled, QLatin1Char('#')), QString(BarWidth - filled, QLatin1Char('-')))
        + text;
}

void FirmwareLoader::onProgress(int acked)
{
    if (m_phase != Phase::Transferring)
        return;
    m_acked = acked;
    const QString text = progressText(acked, m_model->fwBlockCount, std::chrono::milliseconds(m_clock.elapsed()),
                                      m_onTerminal);
    if (m_onTerminal)
        m_console.overwrite(text);
    else
        m_console.progress(tr("Acknowledged %1").arg(text));
}

void FirmwareLoader::onComplete()
{
    if (m_phase != Phase::Transferring)
        return;
    m_console.endOverwrite();
    m_console.progress(tr("Firmware loaded: all %1 blocks acknowledged in %2 s. The bike computer restarts with it.")
                           .arg(m_model->fwBlockCount)
                           .arg(m_clock.elapsed() / 1000));
    // The device restarts: there is no session left to close politely.
    m_connection.hardClose(NoError);
    finish();
}

void FirmwareLoader::interrupt()
{
    if (m_phase == Phase::Done)
        return;
    if (m_phase == Phase::Transferring && !m_warnedOfInterrupt) {
        m_warnedOfInterrupt = true;
        m_console.endOverwrite();
        m_console.error(tr("Stopping now can leave the bike computer without firmware. Press Ctrl-C again to stop "
                           "anyway."));
        return;
    }
    const QString message = m_phase == Phase::Transferring
        ? tr("Interrupted after block %1 of %2 was acknowledged. The device may now be without firmware: load the "
             "image again with \"velotool firmware --port %3 --recovery \"%4\" IMAGE\".")
              .arg(m_acked)
              .arg(m_model->fwBlockCount)
              .arg(m_port, m_model->name)
        : tr("Interrupted; no firmware was sent.");
    fail(ExitStatus::Interrupted, message);
}

void FirmwareLoader::fail(ExitStatus status, const QString &message)
{
    if (m_phase == Phase::Done)
        return;
    m_console.endOverwrite();
    m_outcome = {status, message};
    m_connection.hardClose(NoError);
    finish();
}

void FirmwareLoader::finish()
{
    m_phase = Phase::Done;
    m_identifyTimer.stop();
    if (m_loop)
        m_loop->quit();
}
