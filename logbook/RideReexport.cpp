// SPDX-License-Identifier: GPL-3.0-or-later
#include "logbook/RideReexport.h"

#include "linkhub/ModelData.h"
#include "outpost/CsvExporter.h"
#include "outpost/Outposter.h"

const DeviceModel *RideReexport::model(const QString &name) const
{
    for (const DeviceModel *row : m_catalogue)
        if (row->name == name)
            return row;
    return nullptr;
}

QStringList RideReexport::modelNames() const
{
    return DeviceCatalogue::names(m_catalogue);
}

QDateTime RideReexport::start(const RideEntry &ride)
{
    return ride.start.isValid() ? ride.start : QDateTime(ride.date, QTime(0, 0));
}

bool RideReexport::write(const RideEntry &ride, const DeviceModel &model, const QString &path) const
{
    ModelData record = ride.toRecord(&model);
    const int bikeIndex = ride.bike - 1;
    if (path.endsWith(QLatin1String(".fit")))
        return Outposter::exportToFit(path, &record, bikeIndex, start(ride));
    return CsvExporter::exportToCsv(path, &record, bikeIndex, start(ride));
}
