// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/frequency_solve.h"

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

    std::size_t size() const { return frequency.size(); }
};

// Adds or removes whole turns so that no step between neighbours exceeds half a turn; the first
// value stays as it is.
std::vector<long double> UnwrapPhase(const std::vector<long double>& phaseDegrees);

// -dphase/domega from an unwrapped phase in degrees. The derivative is taken against
// log frequency, on which the grid is evenly spaced: central differences inside, second-order
// one-sided ones at both ends, so the error falls with the square of the step.
std::vector<long double> GroupDelay(const std::vector<long double>& frequency,
                                    const std::vector<long double>& unwrappedDegrees);

// Fills a curve from solved points (one per frequency).
BodeCurve MakeBodeCurve(std::vector<long double> frequencies,
                        const std::vector<ResponsePoint>& points);

struct BodeRun {
    BodeCurve curve;
    bool complete = false; // false when the progress report asked to stop
};

// Every point is ComputeResponse's display form at that frequency, solved on all cores (one
// thread when the circuit's solves show messages). Throws KelvorError as ComputeResponse does.
BodeRun ComputeBodeCurve(const LoadedCircuit& circuit, std::vector<long double> frequencies,
                         ResponseSolver& solver, MessageSink& messages,
                         const SolveProgress& progress = {}, int threads = 0);

} // namespace kelvor
