// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "BenchmarkRun.h"

#include <chrono>

/// Times one session against a simulated bike computer, from open() to the last answer of
/// the read phase, and the wire time of the bytes exchanged for it.
class ReadPhaseBenchmark
{
public:
    using Result = BenchmarkResult;

    static Result run(quint8 modelId);

    /// Longest a run may take before it counts as failed.
    static constexpr std::chrono::seconds RunTimeout{30};
};
