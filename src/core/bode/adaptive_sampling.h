// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/frequency_solve.h"

#include <vector>

namespace kelvor {

// How far the response may stray from the straight line a plot draws between neighbouring
// points, on its logarithmic frequency axis: gain and |Z| in dB, phase in degrees.
inline constexpr long double kMostGainStraying = 0.01L;
inline constexpr long double kMostPhaseStraying = 0.1L;
// Refinement adds at most this many points to a curve, so that a circuit whose response never
// straightens (a jump, an exact zero) costs bounded work.
inline constexpr int kMostAddedPoints = 20000;

// Narrower than this (as a share of the frequency) an interval holds a jump, such as the
// bottom of a notch, not a curve that more points would straighten.
inline constexpr long double kNarrowestInterval = 1e-12L;

struct SampledResponse {
    std::vector<long double> frequency; // Hz, rising
    std::vector<ResponsePoint> points;  // one per frequency, display form
    bool complete = false;              // false when the progress report asked to stop
    bool pointLimitReached = false;     // refinement stopped at kMostAddedPoints
};

// True when the response at the geometric middle of two neighbouring points lies farther from
// the straight line between them than the limits above allow. Points that carry no output
// (see kNoOutputGain) have no phase to compare.
bool StraysFromLine(const ResponsePoint& low, const ResponsePoint& high,
                    const ResponsePoint& middle);

// Solves every frequency of `grid`, then tests the middle of every interval and halves those
// where the response strays from the straight line, until none does (an interval as narrow as
// the number type can resolve is a jump and stays as it is). Solves on `threads` threads; the
// points do not depend on their number. `progress` counts the grid's points; while the middles
// are solved it is called with the grid's size, so that a stop is still seen. Only the grid's
// solves report to `messages`; the middles keep quiet, as they would repeat the same messages.
SampledResponse SampleAdaptively(const LoadedCircuit& circuit, const std::vector<long double>& grid,
                                 ResponseSolver& solver, MessageSink& messages,
                                 const SolveProgress& progress = {}, int threads = 0);

} // namespace kelvor
