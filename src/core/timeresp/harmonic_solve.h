// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/frequency_solve.h"
#include "timeresp/harmonic_table.h"

namespace kelvor {

// Reports the number of harmonics solved; returning false stops the calculation between
// harmonics, and the table then comes back with complete == false.
using HarmonicProgress = SolveProgress;

// Solves the circuit in raw form at every harmonic of the groups (and, for the pulse, at zero
// frequency first). The harmonics are shared out among `threads` threads (0: one per core);
// each solve is independent of the others, so the table is bit for bit the one a single thread
// fills. A fault throws the KelvorError of the lowest harmonic that faulted, as solving them in
// order would. `solver` solves on the calling thread; its Test1Trace holds for every thread.
HarmonicTable ComputeHarmonics(const LoadedCircuit& circuit, TimeResponseKind kind, int32_t groups,
                               long double fundamental, ResponseSolver& solver,
                               MessageSink& messages, const HarmonicProgress& progress = {},
                               int threads = 0);

} // namespace kelvor
