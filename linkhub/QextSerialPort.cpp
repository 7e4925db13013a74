// SPDX-License-Identifier: GPL-3.0-or-later
#include "linkhub/QextSerialPort.h"

#include "linkhub/private/SerialPortWorker.h"
#include "linkhub/private/ThreadCallQueue.h"

#include <QDebug>
#include <QEventLoop>
#include <QSocketNotifier>
#include <QThread>

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <utility>

SerialPortWorker::SerialPortWorker() : port(this)
{
    connect(&port, &QSerialPort::readyRead, this, &SerialPortWorker::collectReceived);
    connect(&port, &QSerialPort::errorOccurred, this, &SerialPortWorker::onError);
}

SerialPortWorker::~SerialPortWorker()
{
    stopWatchingForHangUp();
}

bool SerialPortWorker::open(const QString &name, qint32 baudRate)
{
    close();
    port.setPortName(name);
    port.setBaudRate(baudRate);
    port.setDataBits(QSerialPort::Data8);
    port.setParity(QSerialPort::NoParity);
    port.setStopBits(QSerialPort::OneStop);
    port.setFlowControl(QSerialPort::NoFlowControl);
    opened = port.open(QIODevice::ReadWrite);
    lastError = opened ? QString() : port.errorString();
    if (opened)
        watchForHangUp();
    return opened;
}

void SerialPortWorker::close()
{
    opened = false;
    overflowReported = false;
    stopWatchingForHangUp();
    if (port.isOpen())
        port.close();
    std::lock_guard<std::mutex> guard(bufferLock);
    received.clear();
    lossPending = false;
}

void SerialPortWorker::setBaudRate(qint32 baudRate)
{
    port.setBaudRate(baudRate);
}

void SerialPortWorker::write(const QByteArray &data)
{
    if (port.isOpen())
        port.write(data);
}

void SerialPortWorker::flush()
{
    if (port.isOpen())
        port.flush();
}

QByteArray SerialPortWorker::takeReceived()
{
    std::lock_guard<std::mutex> guard(bufferLock);
    QByteArray bytes;
    bytes.swap(received);
    return bytes;
}

bool SerialPortWorker::waitForData(std::chrono::milliseconds timeout)
{
    std::unique_lock<std::mutex> guard(bufferLock);
    return dataArrived.wait_for(guard, timeout, [this] { return !received.isEmpty() || lossPending; })
        && !received.isEmpty();
}

bool SerialPortWorker::takeDeviceLoss()
{
    std::lock_guard<std::mutex> guard(bufferLock);
    return std::exchange(lossPending, false);
}

void SerialPortWorker::collectReceived()
{
    // Read even when nothing is kept: bytes left in the port would wake its notifier again.
    const QByteArray bytes = port.readAll();
    if (bytes.isEmpty())
        return;
    qsizetype dropped = 0;
    {
        std::lock_guard<std::mutex> guard(bufferLock);
        const qsizetype room = std::max<qsizetype>(0, QextSerialPort::ReceiveBufferLimit - received.size());
        received.append(bytes.constData(), std::min(room, bytes.size()));
        dropped = bytes.size() - std::min(room, bytes.size());
    }
    dataArrived.notify_all();
    if (dropped > 0 && !overflowReported) {
        overflowReported = true;
        qCritical() << "Receive buffer full: the device sends faster than it is read, bytes dropped";
    }
}

void SerialPortWorker::onError(QSerialPort::SerialPortError error)
{
    if (!port.isOpen())
        return;
    // A hung-up line may be reported as a read error, again and again while the line stays so.
    if (isHungUp() || (error == QSerialPort::ResourceError && !isOutputBufferFull()))
        loseDevice();
}

bool SerialPortWorker::isOutputBufferFull() const
{
    // Qt reports a write that met a full system buffer (EAGAIN) as a resource error too; it keeps
    // the bytes and writes them when there is room again. Only a hung-up line is a lost device.
    return port.errorString() == qt_error_string(EAGAIN) && port.bytesToWrite() > 0 && !isHungUp();
}

void SerialPortWorker::watchForHangUp()
{
    hangUpFd = ::fcntl(int(port.handle()), F_DUPFD_CLOEXEC, 0);
    if (hangUpFd < 0)
        return;
    // An error watch: it wakes for a hang-up, never for received bytes, which QSerialPort reads.
    hangUpWatch = std::make_unique<QSocketNotifier>(qintptr(hangUpFd), QSocketNotifier::Exception);
    connect(hangUpWatch.get(), &QSocketNotifier::activated, this, &SerialPortWorker::checkForHangUp);
}

void SerialPortWorker::stopWatchingForHangUp()
{
    hangUpWatch.reset();
    if (hangUpFd >= 0)
        ::close(hangUpFd);
    hangUpFd = -1;
}

void SerialPortWorker::checkForHangUp()
{
    if (isHungUp())
        loseDevice();
}

bool SerialPortWorker::isHungUp() const
{
    const int fd = hangUpFd >= 0 ? hangUpFd : int(port.handle());
    pollfd line{fd, POLLIN, 0};
    return ::poll(&line, 1, 0) > 0 && (line.revents & (POLLHUP | POLLERR | POLLNVAL));
}

void SerialPortWorker::loseDevice()
{
    qDebug() << "Port hung up:" << port.portName();
    stopWatchingForHangUp();
    port.close();
    {
        std::lock_guard<std::mutex> guard(bufferLock);
        lossPending = true;
    }
    dataArrived.notify_all();
}

namespace {
// Runs a call on the port thread and waits for it.
template <typename Function>
auto callOnPortThread(ThreadCallQueue *calls, Function function) -> decltype(function())
{
    using Result = decltype(function());
    if constexpr (std::is_void_v<Result>) {
        calls->call(function);
    } else {
        Result result{};
        calls->call([&] { result = function(); });
        return result;
    }
}
}

QextSerialPort::QextSerialPort()
{
    // A plain thread with an event loop of its own: joining it orders everything it did before
    // the destructor goes on, which thread checkers can see (QThread's own wait they cannot).
    std::promise<void> ready;
    std::future<void> started = ready.get_future();
    portThread = std::thread([this, &ready] { runPortThread(ready); });
    started.wait();
}

void QextSerialPort::runPortThread(std::promise<void> &ready)
{
    QThread::currentThread()->setObjectName(QStringLiteral("SerialPortThread"));
    QEventLoop loop; // creates the thread's event dispatcher before anyone posts to it
    worker = new SerialPortWorker;
    portCalls = new ThreadCallQueue;
    eventLoop = &loop;
    ready.set_value();
    loop.exec();
    worker->close();
    delete worker;
    delete portCalls;
}

QextSerialPort::~QextSerialPort()
{
    portCalls->post([this] { eventLoop->quit(); });
    portThread.join();
}

void QextSerialPort::setPortName(const QString &name)
{
    callOnPortThread(portCalls, [this, name] { pendingName = name; });
}

QString QextSerialPort::portName() const
{
    return callOnPortThread(portCalls, [this] { return pendingName; });
}

bool QextSerialPort::open()
{
    return callOnPortThread(portCalls, [this] { return worker->open(pendingName, pendingBaudRate); });
}

void QextSerialPort::close()
{
    callOnPortThread(portCalls, [this] { worker->close(); });
}

bool QextSerialPort::isOpen() const
{
    return callOnPortThread(portCalls, [this] { return worker->isOpen(); });
}

void QextSerialPort::setBaudRate(qint32 baudRate)
{
    callOnPortThread(portCalls, [this, baudRate] {
        pendingBaudRate = baudRate;
        if (worker->isOpen())
            worker->setBaudRate(baudRate);
    });
}

qint32 QextSerialPort::baudRate() const
{
    return callOnPortThread(portCalls, [this] { return pendingBaudRate; });
}

QString QextSerialPort::errorString() const
{
    return callOnPortThread(portCalls, [this] { return worker->errorString(); });
}

QByteArray QextSerialPort::readAll()
{
    return worker->takeReceived();
}

void QextSerialPort::write(const QByteArray &data)
{
    callOnPortThread(portCalls, [this, data] { worker->write(data); });
}

void QextSerialPort::flush()
{
    callOnPortThread(portCalls, [this] { worker->flush(); });
}

bool QextSerialPort::waitForData(std::chrono::milliseconds timeout)
{
    return worker->waitForData(timeout);
}

bool QextSerialPort::takeDeviceLoss()
{
    return worker->takeDeviceLoss();
}
