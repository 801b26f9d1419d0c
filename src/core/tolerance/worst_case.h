// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "bode/bode_curve.h"
#include "solver/parallel_jobs.h"
#include "tolerance/varied_circuit.h"

#include <vector>

namespace kelvor {

// The relative step by which each value is moved to find the sign of its sensitivity where the
// nodal solve cannot give it.
inline constexpr long double kSensitivityStep = 1e-6L;

// At every frequency, the gain (and the phase) with each value at the end of its tolerance
// that the sign of its sensitivity there says raises it (High) or lowers it (Low). The signs
// come from the nominal's adjoint sensitivities, all values at once. The choice of ends is
// linearised: where a quantity is far from linear in the values, the true extremes may lie
// beyond these curves.
struct WorstCase {
    std::vector<long double> gainLow;
    std::vector<long double> gainHigh;
    std::vector<long double> phaseLow; // degrees, on the nominal's unwrapped scale
    std::vector<long double> phaseHigh;
};

// Solves per frequency once for the signs and once per corner, whatever the number of
// toleranced values; at a frequency where the nodal solve fails (a node joined to nothing
// there), once per value for the signs instead. `progress` counts the solves finished, the
// former way. Returns false when it stopped them.
bool SolveWorstCase(const ToleranceCircuit& circuit, const BodeCurve& nominal, WorstCase& worst,
                    const JobProgress& progress, int workers);

// The solves SolveWorstCase makes at one frequency.
int WorstCaseSolvesPerPoint(const ToleranceCircuit& circuit);

} // namespace kelvor
