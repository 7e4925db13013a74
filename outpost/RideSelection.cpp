// SPDX-License-Identifier: GPL-3.0-or-later
#include "outpost/RideSelection.h"

#include <iterator>

std::optional<RideSelection> RideSelection::select(const ModelData *record, int bikeIndex)
{
    if (!record || !record->deviceModel)
        return std::nullopt;
    if (bikeIndex < 0 || bikeIndex >= static_cast<int>(std::size(record->bikes)))
        return std::nullopt;
    return RideSelection(*record, record->bikes[bikeIndex], record->deviceModel->has(DeviceModel::AltitudeValues));
}
