// SPDX-License-Identifier: GPL-3.0-or-later
#include "velodesk/Startup.h"

#include "velodesk/ExportWizard.h"
#include "velodesk/MainWindow.h"

#include "desktop/DesktopIdentity.h"
#include "linkhub/ConnectionState.h"
#include "linkhub/ModelData.h"
#include "linkhub/WireLogFile.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QMessageBox>
#include <QMetaType>

namespace {
const char *const appVersion = "0.1";

const char *compilerVersion()
{
#if defined(__VERSION__)
    return __VERSION__;
#else
    return "unknown";
#endif
}
}

void Startup::logVersions()
{
    qDebug() << "gcc version: " << compilerVersion();
    qDebug() << "linked qt version: " << QT_VERSION_STR;
    qDebug() << "qt version: " << qVersion();
    qDebug() << "app version: " << appVersion;
}

void Startup::setIdentity()
{
    DesktopIdentity::set(QString::fromLatin1(appVersion));
}

void Startup::registerMetaTypes()
{
    qRegisterMetaType<ModelData>("ModelData");
    qRegisterMetaType<ErrorMessage>("ErrorMessage");
    qRegisterMetaType<ConnectionState>("ConnectionState");
}

Startup::Window Startup::selectWindow(const QStringList &arguments)
{
    if (arguments.size() == 2 && arguments.at(1) == QLatin1String("--legacy"))
        return Window::Legacy;
    return Window::Wizard;
}

QString Startup::logPath(const QStringList &arguments)
{
    static const QString option = QStringLiteral("--log");
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString &argument = arguments.at(i);
        if (argument == option)
            return arguments.value(i + 1);
        if (argument.startsWith(option + QLatin1Char('=')))
            return argument.mid(option.size() + 1);
    }
    return QString();
}

std::unique_ptr<WireLogFile> Startup::startWireLog(const QStringList &arguments)
{
    const QString path = logPath(arguments);
    if (path.isEmpty())
        return nullptr;
    auto log = std::make_unique<WireLogFile>(path);
    if (log->open())
        return log;
    QMessageBox::warning(nullptr, QCoreApplication::translate("Startup", "Transfer log"),
                         QCoreApplication::translate("Startup",
                                                     "The transfer log %1 cannot be written: %2.\n"
                                                     "The program runs without it; choose a file in a folder "
                                                     "you may write to.")
                             .arg(QDir::toNativeSeparators(path), log->errorString()));
    return nullptr;
}

QWidget *Startup::createWindow(const QStringList &arguments)
{
    if (selectWindow(arguments) == Window::Legacy)
        return new MainWindow;
    return new ExportWizard;
}
