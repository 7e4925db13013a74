// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "logbook/LogbookError.h"
#include "logbook/logbook_global.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>

#include <optional>
#include <utility>

class Logbook;

/// One bike the logbook knows: a device's bike 1 or 2, with what the rider said about it.
struct BikeRecord
{
    QString device; ///< as RideEntry::device; empty for the rides imported from logs
    int bike = 1; ///< 1 or 2
    QString model; ///< catalogue name of the device's rides; empty when not known
    QString name; ///< the rider's name for it; empty when none was given
    QDate serviceDay; ///< invalid until the rider set one
    qint64 rides = 0;
    qint64 distanceSince = 0; ///< mm ridden from serviceDay on, or in all when it is not set
};

/// One read of a bike's odometer.
struct OdometerRead
{
    QDate day;
    quint64 odometer = 0; ///< mm
};

/// The bikes of the logbook's rides, the names riders give them and the day of their last service.
class LOGBOOK_EXPORT BikeRegister
{
public:
    explicit BikeRegister(Logbook &logbook) : m_logbook(logbook) {}

    /// Every bike with rides or with a name, by device and bike.
    std::optional<LogbookError> bikes(QList<BikeRecord> &bikes) const;
    /// A bike of a device: imported rides have the empty device.
    using Key = std::pair<QString, int>;
    /// The names riders gave their bikes; bikes without one are left out.
    std::optional<LogbookError> names(QHash<Key, QString> &names) const;
    /// An empty `name` takes the name away.
    std::optional<LogbookError> rename(const QString &device, int bike, const QString &name);
    /// An invalid `day` counts the distance of every ride again.
    std::optional<LogbookError> setServiceDay(const QString &device, int bike, const QDate &day);
    /// The bike's odometer on each day it was read, oldest first; rides without a read are left out.
    std::optional<LogbookError> odometer(const QString &device, int bike, QList<OdometerRead> &reads) const;

private:
    std::optional<LogbookError> store(const QString &device, int bike, const QString &column, const QVariant &value);

    Logbook &m_logbook;
};
