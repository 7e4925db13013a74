// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "linkhub/ModelData.h"

/// A realistic day in the saddle, as a given model keeps it: values that the model's answers
/// cannot carry are zero, so a link that has read the model completely holds exactly these values.
class SampleRide
{
public:
    /// Firmware version a simulated model reports unless told otherwise (decimal).
    static int defaultFirmwareVersion(quint8 modelId);
    static ModelData forModel(const DeviceModel *model);
};
