// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkhub/DeviceCatalogue.h"

#include <QMap>
#include <QStringList>

/// Which catalogue models the export accepts, and the lowest firmware version accepted per model.
class SupportedModels
{
public:
    /// Models whose rides the export accepts: Lumo 20, 40, 50 and 60.
    static bool isSupported(int modelId)
    {
        return modelId == 0x21 || modelId == 0x22 || modelId == 0x23 || modelId == 0x51;
    }

    /// Names of the catalogue's models whose rides the export accepts, sorted.
    static QStringList names(const DeviceCatalogue::Map &catalogue)
    {
        QStringList supported;
        for (const DeviceModel *model : catalogue) {
            if (isSupported(model->id))
                supported << model->name;
        }
        supported.sort();
        return supported;
    }

    /// Lowest accepted firmware (decimal) of every catalogue model.
    static const QMap<int, int> &minimumFirmware()
    {
        static const QMap<int, int> table{
            {0x11, 30}, {0x21, 30}, {0x12, 30}, {0x22, 30}, {0x23, 30}, {0x51, 12}, {0x61, 0},
        };
        return table;
    }

    /// False only for a model in the table whose firmware is below its minimum.
    static bool isFirmwareAccepted(int modelId, int firmwareVersion)
    {
        const auto it = minimumFirmware().constFind(modelId);
        return it == minimumFirmware().constEnd() || firmwareVersion >= it.value();
    }
};
