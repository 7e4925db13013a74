// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkhub/BaudRateType.h"
#include "linkhub/linkhub_global.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <future>
#include <thread>

class QEventLoop;
class SerialPortWorker;
class ThreadCallQueue;

/// The link's serial port in polling mode: every call is synchronous and safe from any thread.
/// The underlying port lives on a thread of its own ("SerialPortThread"), which alone touches it;
/// callers block until that thread has carried out their call. Received bytes wait in a buffer
/// that readAll() and waitForData() reach without a call into that thread.
class LINKHUB_EXPORT QextSerialPort
{
public:
    /// Received bytes kept for readAll() at most; a device that sends more before they are read
    /// floods the line, and the excess is dropped (with one diagnostic per open).
    /// A second of the fastest model line is 960 bytes.
    static constexpr qsizetype ReceiveBufferLimit = 64 * 1024;

    QextSerialPort();
    ~QextSerialPort();

    QextSerialPort(const QextSerialPort &) = delete;
    QextSerialPort &operator=(const QextSerialPort &) = delete;

    void setPortName(const QString &name);
    QString portName() const;
    /// Opens for reading and writing with the line settings made so far; false when that fails.
    bool open();
    void close();
    bool isOpen() const;
    /// Takes effect at once on an open port, and at the next open otherwise.
    void setBaudRate(qint32 baudRate);
    qint32 baudRate() const;
    /// Text of the last failure to open, for diagnostics.
    QString errorString() const;

    /// Everything received so far.
    QByteArray readAll();
    void write(const QByteArray &data);
    /// Hands everything written so far to the system.
    void flush();

    /// Waits until received bytes are waiting to be read or the device went away, at most the
    /// timeout; true when bytes are waiting. Returns at once when either already holds.
    bool waitForData(std::chrono::milliseconds timeout);
    /// True once after the system took the device away (bridge unplugged, far end hung up);
    /// the port is closed by then, but stays "open" to isOpen() until close().
    bool takeDeviceLoss();

private:
    void runPortThread(std::promise<void> &ready);

    std::thread portThread;
    // Created and deleted on the port thread.
    QEventLoop *eventLoop = nullptr;
    SerialPortWorker *worker = nullptr;
    ThreadCallQueue *portCalls = nullptr; // carries every call to the worker
    // Line settings for the next open; touched only on the port thread.
    QString pendingName;
    qint32 pendingBaudRate = BAUD600;
};
