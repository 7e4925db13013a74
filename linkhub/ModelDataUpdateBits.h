// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

/// Names the one block of a ModelData that an answer filled or a write is to send.
/// Carried as the int of modelDataUpdate; values are never combined.
enum ModelDataUpdateBits {
    IdentityUpdate = 0x000,
    AltitudeUpdate = 0x001,
    CurrentBikeUpdate = 0x002,
    HeartRateUpdate = 0x004,
    DateTimeUpdate = 0x008,
    Bike1Update = 0x010,
    Bike2Update = 0x020,
    BikeAuxUpdate = 0x040,
    FirmwareVersionUpdate = 0x080,
    ModelOptionUpdate = 0x100,
};
