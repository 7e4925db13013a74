// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkhub/DeviceModel.h"

#include <QMap>
#include <QStringList>

#include <initializer_list>

/// Builds the seven catalogue rows of the bike-computer models the link knows.
/// Header-only, like DeviceModel, so that readers of records need not link the device link.
class DeviceCatalogue
{
public:
    using Map = QMap<unsigned char, DeviceModel *>;

    /// A fresh catalogue, keyed and ordered by model id; the caller owns the rows.
    static Map build()
    {
        Map catalogue;
        add(catalogue, new DeviceModel(0x11, QStringLiteral("Lumo 10"), QStringLiteral("common"), BAUD600,
                                       oneBikeSizes, 1, false, imageRoot() + QStringLiteral("Lumo10_fa.png")),
            {0x41, 0x51, 0x61});
        add(catalogue, new DeviceModel(0x21, QStringLiteral("Lumo 20"), QStringLiteral("common"), BAUD9600,
                                       lumo20Sizes, 2, true, imageRoot() + QStringLiteral("Lumo20_fa.png")),
            {0x41, 0x21, 0x53, 0x55, 0x61});
        add(catalogue, new DeviceModel(0x12, QStringLiteral("Lumo 30"), QStringLiteral("common"), BAUD600,
                                       oneBikeSizes, 1, false, imageRoot() + QStringLiteral("Lumo30_fa.png")),
            {0x41, 0x51, 0x61});
        add(catalogue, new DeviceModel(0x22, QStringLiteral("Lumo 40"), QStringLiteral("common"), BAUD9600,
                                       lumo40Sizes, 2, true, imageRoot() + QStringLiteral("Lumo40_fa.png")),
            {0x41, 0x21, 0x31, 0x53, 0x55, 0x61});
        add(catalogue, new DeviceModel(0x23, QStringLiteral("Lumo 50"), QStringLiteral("common"), BAUD9600,
                                       lumo50Sizes, 2, true, imageRoot() + QStringLiteral("Lumo50A_fa.png")),
            {0x13, 0x21, 0x31, 0x41, 0x53, 0x55, 0x61});
        add(catalogue, new DeviceModel(0x51, QStringLiteral("Lumo 60"), QStringLiteral("lumo60"), BAUD9600,
                                       lumo60Sizes, 2, true, imageRoot() + QStringLiteral("Lumo60A_fa.png")),
            {0x13, 0x21, 0x31, 0x41, 0x53, 0x55, 0x61, 0x65});
        add(catalogue, new DeviceModel(0x61, QStringLiteral("Lumo 70"), QStringLiteral("lumo70"), BAUD9600,
                                       lumo70Sizes, 2, true, imageRoot() + QStringLiteral("VELQUIST LUMO 70.png")),
            {0x13, 0x21, 0x31, 0x41, 0x53, 0x55, 0x61});
        return catalogue;
    }

    /// Deletes the rows of a catalogue made by build() and empties it.
    static void release(Map &catalogue)
    {
        qDeleteAll(catalogue);
        catalogue.clear();
    }

    /// The models' names in order; ids do not follow the numbers in the names.
    static QStringList names(const Map &catalogue)
    {
        QStringList names;
        for (const DeviceModel *row : catalogue)
            names << row->name;
        names.sort();
        return names;
    }

private:
    // Answer groups 0x8x..0xFx; -1 where the model sends no such answer.
    static constexpr int oneBikeSizes[8] = {-1, -1, -1, -1, 7, 8, 3, -1};
    static constexpr int lumo20Sizes[8] = {-1, -1, 1, -1, 7, 25, 5, -1};
    static constexpr int lumo40Sizes[8] = {-1, -1, 1, 23, 7, 25, 5, -1};
    static constexpr int lumo50Sizes[8] = {-1, 53, 1, 23, 7, 25, 5, -1};
    static constexpr int lumo60Sizes[8] = {-1, 53, 1, 23, 7, 26, 5, -1};
    static constexpr int lumo70Sizes[8] = {-1, 5, 1, 8, 7, 16, 5, -1};

    static QString imageRoot() { return QStringLiteral(":/rc/resources/device_images/"); }

    static void add(Map &catalogue, DeviceModel *row, std::initializer_list<int> requests)
    {
        for (int request : requests)
            row->requestCommands.append(request);
        // Inserting under an existing id replaces the row; the replaced one must not leak.
        delete catalogue.value(row->id, nullptr);
        catalogue.insert(row->id, row);
    }
};
