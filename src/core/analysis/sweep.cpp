// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/sweep.h"

#include "solver/response.h"
#include "solver/solver_threads.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <exception>
#include <thread>

namespace kelvor {
namespace {

// The columns of one sweep as the threads solve them, handed out one at a time.
class SharedSweep {
public:
    SharedSweep(const FrequencyScale& scale, const LoadedCircuit& circuit, MessageSink& messages)
        : scale_(scale), circuit_(circuit), messages_(messages) {}

    // The index of the next column nobody has taken, or -1 when none is left or the sweep ends.
    int Take() {
        if (stopped_.load()) {
            return -1;
        }
        const int index = next_.fetch_add(1);
        return index < kSweepColumns ? index : -1;
    }
    int Taken() const { return next_.load(); }

    void Solve(int index, ResponseSolver& solver) {
        Column& column = columns_[index];
        try {
            ResponsePoint point;
            solver.ComputeResponse(circuit_, ColumnFrequency(scale_, index + kFirstSweepColumn),
                                   ResponseForm::Display, point, messages_);
            column.gain = point.Gain;
        } catch (...) {
            column.fault = std::current_exception();
        }
        column.done.store(true);
    }

    void Work(ResponseSolver& solver) {
        for (int index = Take(); index >= 0; index = Take()) {
            Solve(index, solver);
        }
    }

    bool Done(int index) const { return columns_[index].done.load(); }
    void Stop() { stopped_.store(true); }

    // The gain of a solved column; throws its fault.
    long double Gain(int index) const {
        if (columns_[index].fault) {
            std::rethrow_exception(columns_[index].fault);
        }
        return columns_[index].gain;
    }

private:
    struct Column {
        long double gain = 0;
        std::exception_ptr fault;
        std::atomic<bool> done{false};
    };

    const FrequencyScale& scale_;
    const LoadedCircuit& circuit_;
    MessageSink& messages_;
    std::atomic<int> next_{0};
    std::atomic<bool> stopped_{false};
    std::array<Column, kSweepColumns> columns_;
};

} // namespace

SweepResult RunSweep(const FrequencyScale& scale, const LoadedCircuit& circuit,
                     ResponseSolver& solver, MessageSink& messages, const SweepProgress& progress,
                     int threads) {
    SweepResult result;
    if (scale.FCode == 0) {
        result.UserFreqLabels = BuildUserFreqLabels(scale);
    }
    SharedSweep sweep(scale, circuit, messages);
    const int threadCount =
        NeedsSequentialSolve(circuit, solver.Test1Trace) ? 1 : SolverThreadCount(threads);
    SolverThreads helpers([&sweep] { sweep.Stop(); });
    for (int helper = 1; helper < threadCount; ++helper) {
        helpers.Start(solver.Test1Trace, [&sweep](ResponseSolver& own) { sweep.Work(own); });
    }

    // The calling thread solves columns too, but keeps within a few columns of the first one
    // not yet taken in, so that the progress report, and with it a Reset, comes after about
    // every column.
    const int lead = 2 * threadCount;
    for (int index = 0; index < kSweepColumns; ++index) {
        while (!sweep.Done(index)) {
            if (sweep.Taken() < index + lead) {
                if (const int own = sweep.Take(); own >= 0) {
                    sweep.Solve(own, solver);
                    continue;
                }
            }
            std::this_thread::yield();
        }
        const long double gain = sweep.Gain(index);
        result.Frequency[index] = ColumnFrequency(scale, index + kFirstSweepColumn);
        result.SweepGain[index] = gain;
        // Rounded to the nearest integer, halves to even (the default rounding mode).
        const auto rounded = static_cast<int32_t>(std::lrint(gain));
        result.SweepMinDb = std::min(result.SweepMinDb, rounded);
        result.SweepMaxDb = std::max(result.SweepMaxDb, rounded);
        if (progress && !progress(index + kFirstSweepColumn)) {
            return result;
        }
    }
    result.completed = true;
    return result;
}

bool OutputNeverResponds(const SweepResult& sweep) {
    return std::all_of(sweep.SweepGain.begin(), sweep.SweepGain.end(),
                       [](long double gain) { return gain < kNoOutputGain; });
}

} // namespace kelvor
