// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/frequency_solve.h"
#include "bode/bode_grid.h"

#include <vector>

namespace kelvor {

// The response of one circuit at every frequency of a grid, in display form (dB, degrees, ohms),
// with the quantities derived from it. All vectors have the length of `frequency`.
struct BodeCurve {
    std::vector<long double> frequency;      // Hz, rising
    std::vector<long double> gain;           // dB, as ComputeResponse gives it
    std::vector<long double> phase;          // degrees in [-180, 180), as ComputeResponse gives it
    std::vector<long double> unwrappedPhase; // degrees, without the jumps of 360
    std::vector<long double> groupDelay;     // seconds, from the unwrapped phase
    std::vector<long double> zin;            // ohms, negative for a negative real part
    std::vector<long double> zout;
    std::vector<Complex> zinComplex; // ohms, for the exports
    std::vector<Complex> zoutComplex;

    std::size_t size() const { return frequency.size(); }
};

// Adds or removes whole turns so that no step between neighbours exceeds half a turn; the first
// value stays as it is.
std::vector<long double> UnwrapPhase(const std::vector<long double>& phaseDegrees);

// -dphase/domega from an unwrapped phase in degrees. The derivative is taken against
// log frequency from the parabola through each point and its neighbours, however unevenly they
// are spaced (one-sided at both ends), so the error falls with the product of the two steps:
// where the phase turns fast, adaptive points lie close.
std::vector<long double> GroupDelay(const std::vector<long double>& frequency,
                                    const std::vector<long double>& unwrappedDegrees);

// Fills a curve from solved points (one per frequency).
BodeCurve MakeBodeCurve(std::vector<long double> frequencies,
                        const std::vector<ResponsePoint>& points);

struct BodeRun {
    BodeCurve curve;
    bool complete = false; // false when the progress report asked to stop
    // The curve reached kMostAddedPoints before it was straight everywhere: somewhere the
    // plot's lines may stray further than promised. PointLimitWarning() says so.
    bool pointLimitReached = false;
};

// The warning for a run whose pointLimitReached is set.
const char* PointLimitWarning();

// Every point is ComputeResponse's display form at that frequency, solved on all cores (one
// thread when the circuit's solves show messages). `frequencies` are the least density: points
// are added between them until the straight lines a plot draws stray from the response by at
// most kMostGainStraying and kMostPhaseStraying (see SampleAdaptively). Throws KelvorError as
// ComputeResponse does.
BodeRun ComputeBodeCurve(const LoadedCircuit& circuit, std::vector<long double> frequencies,
                         ResponseSolver& solver, MessageSink& messages,
                         const SolveProgress& progress = {}, int threads = 0);

// The same over a range, at `pointsPerDecade` as the least density (see LogFrequencyGrid):
// computing a narrower range gives more points per decade on the screen.
BodeRun ComputeBodeRange(const LoadedCircuit& circuit, const FrequencyRange& range,
                         int32_t pointsPerDecade, ResponseSolver& solver, MessageSink& messages,
                         const SolveProgress& progress = {}, int threads = 0);

} // namespace kelvor
