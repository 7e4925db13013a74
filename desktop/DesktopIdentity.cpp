// SPDX-License-Identifier: GPL-3.0-or-later
#include "desktop/DesktopIdentity.h"

#include <QCoreApplication>

void DesktopIdentity::set(const QString &version)
{
    QCoreApplication::setApplicationName(QStringLiteral("Pacerow"));
    QCoreApplication::setApplicationVersion(version);
    QCoreApplication::setOrganizationName(QStringLiteral("Velquist"));
}
