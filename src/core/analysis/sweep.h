// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/frequency_scale.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace kelvor {

class ResponseSolver;
struct LoadedCircuit;
class MessageSink;

// The last amplitude sweep: the gain in dB of every graph column and the rounded extremes.
struct SweepResult {
    std::array<long double, kSweepColumns> SweepGain{}; // index 0 is column 23
    std::array<long double, kSweepColumns> Frequency{};
    int32_t SweepMinDb = 2147483647;
    int32_t SweepMaxDb = -2147483647;
    std::string UserFreqLabels;
    bool completed = false;

    long double GainAt(int column) const { return SweepGain[column - kFirstSweepColumn]; }
};

// Every column of the sweep has an exactly zero output: the circuit's output never responds.
bool OutputNeverResponds(const SweepResult& sweep);

// Called on the calling thread after every column, in column order; returning false abandons
// the sweep between columns.
using SweepProgress = std::function<bool(int column)>;

// Solves one point per column from 23 to 642 in display form, shared out among `threads`
// threads (0: one per core; one when the solves show messages). Each column is independent of
// the others and the results are taken in column order, so they are those of one thread, an
// abandoned sweep included. A fault throws the KelvorError of the lowest column that faulted.
// `solver` solves on the calling thread; its Test1Trace holds for every thread.
SweepResult RunSweep(const FrequencyScale& scale, const LoadedCircuit& circuit,
                     ResponseSolver& solver, MessageSink& messages,
                     const SweepProgress& progress = {}, int threads = 0);

} // namespace kelvor
