// SPDX-License-Identifier: GPL-3.0-or-later
#include "velobook/UnitChoice.h"

#include <QSettings>

namespace {
const QString MilesKey = QStringLiteral("logbook/miles");
}

DisplayUnits UnitChoice::current()
{
    return DisplayUnits::forSystem(QSettings().value(MilesKey, false).toBool() ? 1 : 0);
}

void UnitChoice::setMiles(bool miles)
{
    QSettings().setValue(MilesKey, miles);
}
