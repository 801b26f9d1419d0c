// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "solver/response.h"

#include <functional>
#include <vector>

namespace kelvor {

class MessageSink;

// Called on the calling thread after each frequency it solves, and while it waits for the other
// threads, with the number of frequencies solved so far by all of them. Returning false stops
// the run between frequencies.
using SolveProgress = std::function<bool(int solved)>;

struct FrequencySolve {
    std::vector<ResponsePoint> points; // one per frequency, in the order given
    bool complete = false;             // false after a run stopped part-way
};

// Solves the circuit at every frequency, shared out among `threads` threads (0: one per core).
// Each solve is independent of the others, so the points are bit for bit those one thread
// computes. A fault throws the KelvorError of the lowest frequency index that faulted, as
// solving them in order would. `solver` solves on the calling thread; its Test1Trace holds for
// every thread.
FrequencySolve SolveFrequencies(const LoadedCircuit& circuit,
                                const std::vector<long double>& frequencies, ResponseForm form,
                                ResponseSolver& solver, MessageSink& messages,
                                const SolveProgress& progress = {}, int threads = 0);

} // namespace kelvor
