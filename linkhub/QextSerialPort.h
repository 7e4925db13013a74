#pragma once

#include "linkhub/BaudRateType.h"
#include "linkhub/linkhub_global.h"

#include <QByteArray>
#include <QString>

#include <chrono>
#include <memory>

class QThread;
class SerialPortWorker;

/// The link's serial port in polling mode: every call is synchronous and safe from any thread.
/// The underlying port lives on a thread of its own ("SerialPortThread"), which alone touches it;
/// callers block until that thread has carried out their call.
class LINKHUB_EXPORT QextSerialPort
{
public:
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

    /// Waits until received bytes are waiting to be read, at most the timeout;
    /// true when bytes are waiting. Returns at once when they already are.
    bool waitForData(std::chrono::milliseconds timeout);

private:
    std::unique_ptr<QThread> thread;
    SerialPortWorker *worker; // lives on thread; deleted there when it finishes
    // Line settings for the next open; touched only on the port thread.
    QString pendingName;
    qint32 pendingBaudRate = BAUD600;
};
