// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QObject>
#include <QSerialPort>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

class QSocketNotifier;

/// Owns the QSerialPort on the port thread. Every method but takeReceived(), waitForData() and
/// takeDeviceLoss() must run on that thread; those three only touch the receive buffer and the
/// loss flag and may run anywhere.
class SerialPortWorker : public QObject
{
    Q_OBJECT

public:
    SerialPortWorker();
    ~SerialPortWorker() override;

    bool open(const QString &name, qint32 baudRate);
    void close();
    bool isOpen() const { return opened; }
    void setBaudRate(qint32 baudRate);
    qint32 baudRate() const { return port.baudRate(); }
    QString errorString() const { return lastError; }
    void write(const QByteArray &data);
    void flush();

    QByteArray takeReceived();
    bool waitForData(std::chrono::milliseconds timeout);
    bool takeDeviceLoss();

private:
    void collectReceived();
    void onError(QSerialPort::SerialPortError error);
    void watchForHangUp();
    void stopWatchingForHangUp();
    void checkForHangUp();
    bool isHungUp() const;
    bool isOutputBufferFull() const;
    void loseDevice();

    QSerialPort port; // a child, so it moves to the port thread with the worker
    // True from a successful open until close(). A port lost to the system (bridge unplugged)
    // stays "open" here, so that the link's own close ends the session.
    bool opened = false;
    QString lastError;
    // A hung-up line reads as "readable, zero bytes": QSerialPort then neither reads nor reports
    // anything and its notifier fires again at once. A notifier of our own on a duplicate of the
    // descriptor sees the hang-up (an error condition), so the port is closed before it can spin.
    int hangUpFd = -1;
    std::unique_ptr<QSocketNotifier> hangUpWatch;
    bool overflowReported = false; // once per open

    std::mutex bufferLock; // guards received and lossPending
    std::condition_variable dataArrived;
    QByteArray received;
    bool lossPending = false; // the device went away and nobody has taken note yet
};
