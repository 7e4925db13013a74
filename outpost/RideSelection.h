// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkhub/Bike.h"
#include "linkhub/ModelData.h"

#include <optional>

/// The record and bike one export reads, checked once so that the writers need not.
/// Internal to the export library.
class RideSelection
{
public:
    /// The selection, or nothing when the record is missing, belongs to no identified model, or
    /// the bike index names neither bike 1 (0) nor bike 2 (1).
    static std::optional<RideSelection> select(const ModelData *record, int bikeIndex);

    const ModelData &record() const { return *m_record; }
    const Bike &bike() const { return *m_bike; }
    /// Whether the model delivers altitudes, gradients, vertical speeds and temperatures.
    bool hasAltitudeGroup() const { return m_hasAltitudeGroup; }

private:
    RideSelection(const ModelData &record, const Bike &bike, bool hasAltitudeGroup)
        : m_record(&record), m_bike(&bike), m_hasAltitudeGroup(hasAltitudeGroup)
    {
    }

    const ModelData *m_record;
    const Bike *m_bike;
    bool m_hasAltitudeGroup;
};
