// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bode/marker_search.h"
#include "solver/parallel_jobs.h"
#include "tolerance/tolerance_settings.h"
#include "tolerance/varied_circuit.h"

#include <vector>

namespace kelvor {

// The gain and phase of every run at every frequency, run after run.
struct RunCurves {
    int runs = 0;
    int points = 0;
    std::vector<long double> gain;  // dB
    std::vector<long double> phase; // degrees, unwrapped, on the nominal's unwrapped scale
    // Each run's peak and half-power points, refined with that run's own circuit.
    std::vector<MarkerPlaces> markers;

    const long double* Gain(int run) const { return gain.data() + Offset(run); }
    const long double* Phase(int run) const { return phase.data() + Offset(run); }
    // The gain of every run at one frequency.
    std::vector<long double> GainsAt(int point) const;

private:
    std::size_t Offset(int run) const {
        return static_cast<std::size_t>(run) * static_cast<std::size_t>(points);
    }
};

// A run's unwrapped phase moved by whole turns so that it starts within half a turn of the
// nominal's, so that the runs can be compared point by point.
void AlignPhase(const std::vector<long double>& wrappedDegrees, long double nominalFirst,
                long double* aligned);

// Solves `settings.runs` runs, each with its own draw of every toleranced value (see
// DrawDeviations), at every frequency, and finds each run's markers (see FindMarkerPlaces).
// `progress` counts finished runs. Returns false when it
// stopped them; throws the KelvorError of the lowest run that faulted.
bool SolveMonteCarloRuns(const ToleranceCircuit& circuit, const ToleranceSettings& settings,
                         const std::vector<long double>& frequencies, long double nominalFirstPhase,
                         RunCurves& curves, const JobProgress& progress, int workers);

} // namespace kelvor
