// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BenchmarkRun.h"

#include <chrono>

/// Times one firmware transfer into a simulated bike computer, from sendFirmwareUpdate() to the
/// completion, beside the wire time of the bytes exchanged plus the two pauses the link makes.
class FirmwareTransferBenchmark
{
public:
    using Result = BenchmarkResult;

    static Result run(quint8 modelId);

    /// Longest a run may take before it counts as failed.
    static constexpr std::chrono::seconds RunTimeout{180};
};
