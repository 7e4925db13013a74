#pragma once

#include <QByteArray>
#include <QObject>
#include <QSerialPort>

#include <chrono>
#include <condition_variable>
#include <mutex>

/// Owns the QSerialPort on the port thread. Every method but takeReceived() and waitForData()
/// must run on that thread; those two only touch the receive buffer and may run anywhere.
class SerialPortWorker : public QObject
{
    Q_OBJECT

public:
    SerialPortWorker();

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

private:
    void collectReceived();
    void onError(QSerialPort::SerialPortError error);

    QSerialPort port; // a child, so it moves to the port thread with the worker
    // True from a successful open until close(). A port lost to the system (bridge unplugged)
    // stays "open" here, so writes vanish and the link notices the silence as a lost connection.
    bool opened = false;
    QString lastError;

    std::mutex bufferLock; // guards received
    std::condition_variable dataArrived;
    QByteArray received;
};
