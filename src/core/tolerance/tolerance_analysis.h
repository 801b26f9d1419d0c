// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bode/bode_curve.h"
#include "tolerance/monte_carlo.h"
#include "tolerance/tolerance_settings.h"
#include "tolerance/tolerance_statistics.h"
#include "tolerance/worst_case.h"

#include <functional>
#include <string>
#include <vector>

namespace kelvor {

// Solves of one analysis (nominal, runs and worst case at every frequency): runs x frequencies
// above this would hold more than some 160 MB of curves.
inline constexpr long long kMostToleranceSolves = 5'000'000;
// Solves x (records + toleranced values), what each solve sets and stamps: a minute or so of
// work on two cores.
inline constexpr long long kMostToleranceWork = 1'000'000'000;

// The spread over the runs of one automatic marker.
struct MarkerSpread {
    std::string name; // "Peak gain", "Peak frequency", "-3 dB low", "-3 dB high"
    std::string unit; // "dB" or "Hz"
    Spread spread;
};

struct MaskOutcome {
    bool checked = false; // false when there is no mask
    bool nominalInside = false;
    std::vector<int> failingRuns; // run numbers, rising
    long double yield = 0;        // share of the runs inside the mask at every point, 0..1
};

struct ToleranceAnalysis {
    BodeCurve nominal;  // the analyser's curve (ComputeBodeCurve); the runs share its points
    int toleranced = 0; // how many values vary
    RunCurves runs;
    Envelope gain;  // dB
    Envelope phase; // degrees on the nominal's unwrapped scale
    WorstCase worstCase;
    std::vector<MarkerSpread> markers;
    MaskOutcome mask;
};

struct ToleranceRun {
    ToleranceAnalysis analysis;
    bool complete = false; // false when the progress report asked to stop
};

// Called on the calling thread with the solves done so far and the solves in all; returning
// false stops the analysis.
using ToleranceProgress = std::function<bool(int done, int total)>;

// The Monte Carlo runs, their envelope and marker spreads, the worst case and the mask yield
// of a circuit over a frequency grid (the least density, as the analyser takes it), on `threads`
// threads (0: one per core). The results do not depend on the number of threads. `componentLines`
// are the Datafile lines of the circuit's component records (they key the per-component
// tolerances). Throws KelvorError for a circuit with records the solver does not know, for too many
// runs x frequencies, and as ComputeResponse does.
ToleranceRun RunToleranceAnalysis(const LoadedCircuit& circuit,
                                  const std::vector<std::string>& componentLines,
                                  const ToleranceSettings& settings,
                                  std::vector<long double> frequencies,
                                  const ToleranceProgress& progress = {}, int threads = 0);

} // namespace kelvor
