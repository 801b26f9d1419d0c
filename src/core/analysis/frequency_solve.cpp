// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/frequency_solve.h"

#include "solver/parallel_jobs.h"

#include <memory>
#include <vector>

namespace kelvor {
namespace {

// Frequencies are handed out in runs, so that the threads rarely meet at the shared counter.
constexpr int kRunLength = 32;

} // namespace

FrequencySolve SolveFrequencies(const LoadedCircuit& circuit,
                                const std::vector<long double>& frequencies, ResponseForm form,
                                ResponseSolver& solver, MessageSink& messages,
                                const SolveProgress& progress, int threads) {
    FrequencySolve result;
    result.points.resize(frequencies.size());
    const int count = static_cast<int>(frequencies.size());
    const int workers =
        NeedsSequentialSolve(circuit, solver.Test1Trace) ? 1 : WorkerCount(threads, count);
    // The calling thread solves with `solver`, every other worker with one of its own.
    std::vector<std::unique_ptr<ResponseSolver>> helperSolvers;
    for (int worker = 1; worker < workers; ++worker) {
        helperSolvers.push_back(std::make_unique<ResponseSolver>());
        helperSolvers.back()->Test1Trace = solver.Test1Trace;
    }
    result.complete = RunNumberedJobs(
        count, workers,
        [&](int index, int worker) {
            ResponseSolver& own =
                worker == 0 ? solver : *helperSolvers[static_cast<std::size_t>(worker - 1)];
            own.ComputeResponse(circuit, frequencies[index], form, result.points[index], messages);
        },
        progress, kRunLength);
    return result;
}

} // namespace kelvor
