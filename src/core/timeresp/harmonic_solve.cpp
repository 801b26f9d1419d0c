// SPDX-License-Identifier: GPL-3.0-or-later
#include "timeresp/harmonic_solve.h"

#include "solver/response.h"
#include "solver/solver_threads.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <cmath>
#include <exception>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace kelvor {
namespace {

// Harmonics are handed out in runs, so that the threads rarely meet at the shared counter.
constexpr int kRunLength = 32;

// What the threads share while they fill one table.
class SharedRun {
public:
    SharedRun(const LoadedCircuit& circuit, HarmonicTable& table, MessageSink& messages)
        : circuit_(circuit), table_(table), messages_(messages) {}

    // Solves runs of harmonics until none are left, the run is stopped or a fault makes the
    // rest unnecessary. Returns false when `progress` asked to stop.
    bool Work(ResponseSolver& solver, const HarmonicProgress* progress) {
        ResponsePoint point;
        const int count = table_.Count();
        for (;;) {
            const int begin = nextRun_.fetch_add(1) * kRunLength;
            if (begin >= count) {
                return true;
            }
            const int end = std::min(count, begin + kRunLength);
            for (int index = begin; index < end; ++index) {
                // Harmonics above a fault are never needed: the fault ends the calculation.
                if (stopped_.load() || index >= firstFault_.load()) {
                    return true;
                }
                const auto k = static_cast<long double>(HarmonicNumber(table_.kind, index));
                try {
                    solver.ComputeResponse(circuit_, k * table_.fundamental, ResponseForm::Raw,
                                           point, messages_);
                } catch (...) {
                    RecordFault(index, std::current_exception());
                    return true;
                }
                table_.gain[index] = point.Gain;
                table_.phase[index] = point.Phase;
                const int solved = solved_.fetch_add(1) + 1;
                if (progress != nullptr && *progress && !(*progress)(solved)) {
                    stopped_.store(true);
                    return false;
                }
            }
        }
    }

    int Solved() const { return solved_.load(); }
    void Stop() { stopped_.store(true); }

    void RethrowFirstFault() {
        if (fault_) {
            std::rethrow_exception(fault_);
        }
    }

private:
    void RecordFault(int index, std::exception_ptr fault) {
        const std::lock_guard<std::mutex> lock(faultMutex_);
        if (index < firstFault_.load()) {
            firstFault_.store(index);
            fault_ = std::move(fault);
        }
    }

    const LoadedCircuit& circuit_;
    HarmonicTable& table_;
    MessageSink& messages_;
    std::atomic<int> nextRun_{0};
    std::atomic<int> solved_{0};
    std::atomic<bool> stopped_{false};
    std::atomic<int> firstFault_{INT_MAX};
    std::mutex faultMutex_;
    std::exception_ptr fault_;
};

} // namespace

HarmonicTable ComputeHarmonics(const LoadedCircuit& circuit, TimeResponseKind kind, int32_t groups,
                               long double fundamental, ResponseSolver& solver,
                               MessageSink& messages, const HarmonicProgress& progress,
                               int threads) {
    HarmonicTable table;
    table.kind = kind;
    table.groups = std::max(0, groups);
    table.fundamental = fundamental;
    table.gain.assign(static_cast<std::size_t>(table.Count()), 0.0L);
    table.phase.assign(static_cast<std::size_t>(table.Count()), 0.0L);

    if (kind == TimeResponseKind::Pulse) {
        ResponsePoint point;
        solver.ComputeResponse(circuit, 0, ResponseForm::Raw, point, messages);
        table.DcGain = point.Gain;
    }

    SharedRun run(circuit, table, messages);
    const int threadCount = NeedsSequentialSolve(circuit, solver.Test1Trace)
                                ? 1
                                : std::min(SolverThreadCount(threads), std::max(1, table.Count()));
    SolverThreads helpers([&run] { run.Stop(); });
    for (int helper = 1; helper < threadCount; ++helper) {
        helpers.Start(solver.Test1Trace, [&run](ResponseSolver& own) { run.Work(own, nullptr); });
    }

    int reported = 0;
    HarmonicProgress report;
    if (progress) {
        report = [&](int solved) {
            reported = solved;
            return progress(solved);
        };
    }
    bool goOn = run.Work(solver, &report);
    // The calling thread keeps reporting while the others finish their last runs, so that the
    // progress bar moves and a stop request is still seen.
    while (goOn && !helpers.AllDone()) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (report && run.Solved() != reported) {
            goOn = report(run.Solved());
        }
    }
    if (!goOn) {
        run.Stop();
    }
    helpers.JoinAll();
    // The last harmonics may have been solved by another thread after the last report.
    if (goOn && report && run.Solved() != reported) {
        goOn = report(run.Solved());
    }
    run.RethrowFirstFault();
    if (!goOn || run.Solved() < table.Count()) {
        return table;
    }
    for (long double gain : table.gain) {
        if (std::fabs(gain) > table.largest) {
            table.largest = std::fabs(gain);
        }
    }
    table.complete = true;
    return table;
}

} // namespace kelvor
