// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "logbook/RideEntry.h"
#include "logbook/logbook_global.h"

#include "linkhub/DeviceCatalogue.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

/// Writes a ride of the logbook again, months later, through the export library: a FIT activity
/// file when the name ends in ".fit", otherwise a line appended to a CSV log.
class LOGBOOK_EXPORT RideReexport
{
public:
    RideReexport() : m_catalogue(DeviceCatalogue::build()) {}
    ~RideReexport() { DeviceCatalogue::release(m_catalogue); }

    RideReexport(const RideReexport &) = delete;
    RideReexport &operator=(const RideReexport &) = delete;

    /// The catalogue row of a model id, or null for an id it does not hold.
    const DeviceModel *model(quint8 id) const { return m_catalogue.value(id, nullptr); }
    /// The catalogue row of a model's name as the logbook keeps it ("Lumo 60"), or null.
    const DeviceModel *model(const QString &name) const;
    /// The names of the catalogue's models, sorted as people look for them.
    QStringList modelNames() const;

    /// Writes `ride` as a ride of `model`. False when the file could not be written.
    bool write(const RideEntry &ride, const DeviceModel &model, const QString &path) const;

    /// The start the ride is written with: the one chosen at its export, or else midnight of its day.
    static QDateTime start(const RideEntry &ride);

private:
    DeviceCatalogue::Map m_catalogue;
};
