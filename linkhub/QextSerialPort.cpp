#include "linkhub/QextSerialPort.h"

#include "linkhub/private/SerialPortWorker.h"

#include <QDeadlineTimer>
#include <QThread>

SerialPortWorker::SerialPortWorker() : port(this)
{
    connect(&port, &QSerialPort::readyRead, this, &SerialPortWorker::collectReceived);
    connect(&port, &QSerialPort::errorOccurred, this, &SerialPortWorker::onError);
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
    return opened;
}

void SerialPortWorker::close()
{
    opened = false;
    if (port.isOpen())
        port.close();
    QMutexLocker locker(&bufferLock);
    received.clear();
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
    QMutexLocker locker(&bufferLock);
    QByteArray bytes;
    bytes.swap(received);
    return bytes;
}

bool SerialPortWorker::waitForData(std::chrono::milliseconds timeout)
{
    QMutexLocker locker(&bufferLock);
    const QDeadlineTimer deadline(timeout);
    while (received.isEmpty()) {
        if (!dataArrived.wait(&bufferLock, deadline))
            break;
    }
    return !received.isEmpty();
}

void SerialPortWorker::collectReceived()
{
    const QByteArray bytes = port.readAll();
    if (bytes.isEmpty())
        return;
    QMutexLocker locker(&bufferLock);
    received.append(bytes);
    dataArrived.wakeAll();
}

void SerialPortWorker::onError(QSerialPort::SerialPortError error)
{
    // The system took the port away (bridge unplugged, far side closed): stop reading it,
    // but leave `opened` alone so that the link's own close ends the session.
    if (error == QSerialPort::ResourceError && port.isOpen())
        port.close();
}

namespace {
// Runs a call on the worker's thread and waits for it; runs it directly when already there.
template <typename Function>
auto callOnPortThread(SerialPortWorker *worker, Function function) -> decltype(function())
{
    if (QThread::currentThread() == worker->thread())
        return function();
    using Result = decltype(function());
    if constexpr (std::is_void_v<Result>) {
        QMetaObject::invokeMethod(worker, function, Qt::BlockingQueuedConnection);
    } else {
        Result result{};
        QMetaObject::invokeMethod(worker, [&] { result = function(); }, Qt::BlockingQueuedConnection);
        return result;
    }
}
}

QextSerialPort::QextSerialPort() : thread(std::make_unique<QThread>()), worker(new SerialPortWorker)
{
    thread->setObjectName(QStringLiteral("SerialPortThread"));
    worker->moveToThread(thread.get());
    QObject::connect(thread.get(), &QThread::finished, worker, &QObject::deleteLater);
    thread->start();
}

QextSerialPort::~QextSerialPort()
{
    callOnPortThread(worker, [this] { worker->close(); });
    thread->quit();
    thread->wait();
}

void QextSerialPort::setPortName(const QString &name)
{
    callOnPortThread(worker, [this, name] { pendingName = name; });
}

QString QextSerialPort::portName() const
{
    return callOnPortThread(worker, [this] { return pendingName; });
}

bool QextSerialPort::open()
{
    return callOnPortThread(worker, [this] { return worker->open(pendingName, pendingBaudRate); });
}

void QextSerialPort::close()
{
    callOnPortThread(worker, [this] { worker->close(); });
}

bool QextSerialPort::isOpen() const
{
    return callOnPortThread(worker, [this] { return worker->isOpen(); });
}

void QextSerialPort::setBaudRate(qint32 baudRate)
{
    callOnPortThread(worker, [this, baudRate] {
        pendingBaudRate = baudRate;
        if (worker->isOpen())
            worker->setBaudRate(baudRate);
    });
}

qint32 QextSerialPort::baudRate() const
{
    return callOnPortThread(worker, [this] { return pendingBaudRate; });
}

QString QextSerialPort::errorString() const
{
    return callOnPortThread(worker, [this] { return worker->errorString(); });
}

QByteArray QextSerialPort::readAll()
{
    return worker->takeReceived();
}

void QextSerialPort::write(const QByteArray &data)
{
    callOnPortThread(worker, [this, data] { worker->write(data); });
}

void QextSerialPort::flush()
{
    callOnPortThread(worker, [this] { worker->flush(); });
}

bool QextSerialPort::waitForData(std::chrono::milliseconds timeout)
{
    return worker->waitForData(timeout);
}
