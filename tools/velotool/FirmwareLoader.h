// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkhub/ConnectionState.h"
#include "tools/velotool/ExitStatus.h"

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>

#include <chrono>

class ComConnection;
class Console;
class DeviceModel;
class ModelData;
class QEventLoop;

/// Drives the device link through one firmware transfer: waits for the device to identify itself
/// (or, for a device already in its boot loader, takes the model named), hands the image to the
/// link and follows the acknowledgements with a progress bar on a terminal, plain lines otherwise.
///
/// Ctrl-C during the transfer only warns, since a transfer cut short can leave the device
/// without firmware; a second Ctrl-C stops it.
class FirmwareLoader : public QObject
{
    Q_OBJECT

public:
    FirmwareLoader(ComConnection &connection, Console &console, QObject *parent = nullptr);
    ~FirmwareLoader() override;

    /// Loads the image into the device on the port; with `recoveryModel` the device is taken to be
    /// in its boot loader already. `identifyTimeout` bounds the wait for the identification.
    ToolFailure run(const QString &port, const QByteArray &image, const DeviceModel *recoveryModel,
                    std::chrono::milliseconds identifyTimeout);
    void interrupt();

    /// One progress line: "block n of N, p %, about s s left", with a bar on a terminal.
    static QString progressText(int acked, int total, std::chrono::milliseconds elapsed, bool withBar);

private:
    enum class Phase { Identifying, Transferring, Done };

    void onStateChanged(ConnectionState state, ErrorMessage error);
    void onModelDataUpdate(ModelData *data, int updateBits);
    void startTransfer(const DeviceModel &model, bool enterBootloader);
    void onProgress(int acked);
    void onComplete();
    void fail(ExitStatus status, const QString &message);
    void finish();
    QString lostMessage() const;

    ComConnection &m_connection;
    Console &m_console;
    const bool m_onTerminal;
    QString m_port;
    QByteArray m_image;
    Phase m_phase = Phase::Done;
    const DeviceModel *m_model = nullptr;
    int m_acked = 0;
    bool m_warnedOfInterrupt = false;
    ToolFailure m_outcome;
    QElapsedTimer m_clock;
    QTimer m_identifyTimer;
    QEventLoop *m_loop = nullptr;
};
