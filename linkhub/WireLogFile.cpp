// SPDX-License-Identifier: GPL-3.0-or-later
#include "linkhub/WireLogFile.h"

#include "linkhub/private/WireLog.h"

#include <QCoreApplication>
#include <QDateTime>

#include <cstring>
#include <mutex>

namespace {

// The handler is a plain function, so the file it writes to is reached through these.
std::mutex handlerLock; // guards activeFile and the writes to it
QSaveFile *activeFile = nullptr;
QtMessageHandler previousHandler = nullptr;

void handleMessage(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    if (context.category && std::strcmp(context.category, WireLog::CategoryName) == 0) {
        std::lock_guard<std::mutex> guard(handlerLock);
        if (activeFile) {
            activeFile->write(message.toUtf8() + '\n');
            return;
        }
    }
    if (previousHandler)
        previousHandler(type, context, message);
}

} // namespace

WireLogFile::WireLogFile(const QString &path) : file(path)
{
}

WireLogFile::~WireLogFile()
{
    if (catching)
        commit();
}

bool WireLogFile::open()
{
    if (!file.open(QIODevice::WriteOnly | QIODevice::Text))
        return false;
    file.write(QStringLiteral("# %1 %2, Qt %3, started %4\n")
                   .arg(QCoreApplication::applicationName(), QCoreApplication::applicationVersion(),
                        QString::fromLatin1(qVersion()),
                        QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs))
                   .toUtf8());
    {
        std::lock_guard<std::mutex> guard(handlerLock);
        activeFile = &file;
        previousHandler = qInstallMessageHandler(handleMessage);
    }
    catching = true;
    WireLog::enable();
    return true;
}

void WireLogFile::stopCatching()
{
    std::lock_guard<std::mutex> guard(handlerLock);
    qInstallMessageHandler(previousHandler);
    activeFile = nullptr;
    catching = false;
}

bool WireLogFile::commit()
{
    if (!catching)
        return false;
    stopCatching();
    return file.commit();
}
