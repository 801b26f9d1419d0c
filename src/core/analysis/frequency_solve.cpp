#include "analysis/frequency_solve.h"

#include "solver/solver_threads.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <exception>
#include <mutex>
#include <thread>
#include <vector>

namespace kelvor {
namespace {

// Frequencies are handed out in runs, so that the threads rarely meet at the shared counter.
constexpr int kRunLength = 32;

// What the threads share while they fill one list of points.
class SharedRun {
public:
    SharedRun(const LoadedCircuit& circuit, const std::vector<long double>& frequencies,
              ResponseForm form, std::vector<ResponsePoint>& points, MessageSink& messages)
        : circuit_(circuit), frequencies_(frequencies), form_(form), points_(points),
          messages_(messages) {}

    // Solves runs of frequencies until none are left, the run is stopped or a fault makes the
    // rest unnecessary. Returns false when `progress` asked to stop.
    bool Work(ResponseSolver& solver, const SolveProgress* progress) {
        const int count = static_cast<int>(frequencies_.size());
        for (;;) {
            const int begin = nextRun_.fetch_add(1) * kRunLength;
            if (begin >= count) {
                return true;
            }
            const int end = std::min(count, begin + kRunLength);
            for (int index = begin; index < end; ++index) {
                // Frequencies above a fault are never needed: the fault ends the calculation.
                if (stopped_.load() || index >= firstFault_.load()) {
                    return true;
                }
                try {
                    solver.ComputeResponse(circuit_, frequencies_[index], form_, points_[index],
                                           messages_);
                } catch (...) {
                    RecordFault(index, std::current_exception());
                    return true;
                }
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
    const std::vector<long double>& frequencies_;
    ResponseForm form_;
    std::vector<ResponsePoint>& points_;
    MessageSink& messages_;
    std::atomic<int> nextRun_{0};
    std::atomic<int> solved_{0};
    std::atomic<bool> stopped_{false};
    std::atomic<int> firstFault_{INT_MAX};
    std::mutex faultMutex_;
    std::exception_ptr fault_;
};

} // namespace

FrequencySolve SolveFrequencies(const LoadedCircuit& circuit,
                                const std::vector<long double>& frequencies, ResponseForm form,
                                ResponseSolver& solver, MessageSink& messages,
                                const SolveProgress& progress, int threads) {
    FrequencySolve result;
    result.points.resize(frequencies.size());
    const int count = static_cast<int>(frequencies.size());
    SharedRun run(circuit, frequencies, form, result.points, messages);
    const int threadCount = NeedsSequentialSolve(circuit, solver.Test1Trace)
                                ? 1
                                : std::min(SolverThreadCount(threads), std::max(1, count));
    SolverThreads helpers([&run] { run.Stop(); });
    for (int helper = 1; helper < threadCount; ++helper) {
        helpers.Start(solver.Test1Trace, [&run](ResponseSolver& own) { run.Work(own, nullptr); });
    }

    int reported = 0;
    SolveProgress report;
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
    // The last frequencies may have been solved by another thread after the last report.
    if (goOn && report && run.Solved() != reported) {
        goOn = report(run.Solved());
    }
    run.RethrowFirstFault();
    result.complete = goOn && run.Solved() == count;
    return result;
}

} // namespace kelvor
