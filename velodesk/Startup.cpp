#include "velodesk/Startup.h"

#include "velodesk/ExportWizard.h"
#include "velodesk/MainWindow.h"

#include "linkhub/ConnectionState.h"
#include "linkhub/ModelData.h"

#include <QCoreApplication>
#include <QDebug>
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
    QCoreApplication::setApplicationName(QStringLiteral("Pacerow"));
    QCoreApplication::setApplicationVersion(QString::fromLatin1(appVersion));
    QCoreApplication::setOrganizationName(QStringLiteral("Velquist"));
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

QWidget *Startup::createWindow(const QStringList &arguments)
{
    if (selectWindow(arguments) == Window::Legacy)
        return new MainWindow;
    return new ExportWizard;
}
