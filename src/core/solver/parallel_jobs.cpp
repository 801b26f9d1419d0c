// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/parallel_jobs.h"

#include "solver/solver_threads.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <climits>
#include <cstddef>
#include <exception>
#include <mutex>

namespace kelvor {
namespace {

constexpr std::size_t kCacheLine = 64;

class JobSet {
public:
    JobSet(int jobs, const NumberedJob& job, int runLength)
        : jobs_(jobs), job_(job), runLength_(runLength) {}

    // Takes runs of jobs until none are left or the set is stopped. Returns false when
    // `progress` asked to stop.
    bool Work(int worker, const JobProgress* progress) {
        const JobProgress* reporting = progress != nullptr && *progress ? progress : nullptr;
        for (;;) {
            const int begin = nextRun_.fetch_add(1) * runLength_;
            if (begin >= jobs_) {
                return true;
            }
            const RunEnd ended =
                RunJobs(begin, std::min(jobs_, begin + runLength_), worker, reporting);
            if (ended != RunEnd::Finished) {
                return ended == RunEnd::SetEnded;
            }
        }
    }

    int Finished() const { return finished_.load(); }
    void Stop() { stopped_.store(true); }

    void RethrowFirstFailure() {
        if (failure_) {
            std::rethrow_exception(failure_);
        }
    }

private:
    enum class RunEnd { Finished, SetEnded, Stopped };

    // Jobs begin .. end-1. A worker that does not report counts its jobs once per run: counting
    // each one at the shared counter made the workers wait on each other at every job.
    RunEnd RunJobs(int begin, int end, int worker, const JobProgress* reporting) {
        int uncounted = 0;
        RunEnd ended = RunEnd::Finished;
        for (int next = begin; next < end; ++next) {
            // Jobs above a failed one are never needed: the failure ends the set.
            if (stopped_.load() || next > firstFailure_.load()) {
                ended = RunEnd::SetEnded;
                break;
            }
            try {
                job_(next, worker);
            } catch (...) {
                RecordFailure(next, std::current_exception());
                ended = RunEnd::SetEnded;
                break;
            }
            if (reporting == nullptr) {
                ++uncounted;
            } else if (!(*reporting)(finished_.fetch_add(1) + 1)) {
                stopped_.store(true);
                ended = RunEnd::Stopped;
                break;
            }
        }
        finished_.fetch_add(uncounted);
        return ended;
    }

    void RecordFailure(int job, std::exception_ptr failure) {
        const std::lock_guard<std::mutex> lock(failureMutex_);
        if (job < firstFailure_.load()) {
            firstFailure_.store(job);
            failure_ = std::move(failure);
        }
    }

    const int jobs_;
    const NumberedJob& job_;
    const int runLength_;
    // Each counter on a cache line of its own, apart from the flags every job reads, so that
    // writing one does not take the others from the other workers' caches.
    alignas(kCacheLine) std::atomic<int> nextRun_{0};
    alignas(kCacheLine) std::atomic<int> finished_{0};
    alignas(kCacheLine) std::atomic<bool> stopped_{false};
    std::atomic<int> firstFailure_{INT_MAX};
    std::mutex failureMutex_;
    std::exception_ptr failure_;
};

// How often the calling thread reports while it waits for the others.
constexpr std::chrono::milliseconds kReportWhileWaiting{5};
// Runs are shortened until each worker has at least this many: with fewer, one worker is left
// with a whole run while the others have nothing (200 jobs in runs of 32 split 128 to 72).
constexpr int kRunsPerWorker = 8;

} // namespace

int WorkerCount(int requested, int jobs) {
    return std::max(1, std::min(SolverThreadCount(requested), jobs));
}

bool RunNumberedJobs(int jobs, int workers, const NumberedJob& job, const JobProgress& progress,
                     int runLength) {
    const int shortest = std::max(1, jobs / (std::max(1, workers) * kRunsPerWorker));
    JobSet set(jobs, job, std::min(std::max(1, runLength), shortest));
    // Joined however this thread leaves, even by an exception from its progress report, so
    // that none outlives the results it writes. Each job keeps its worker's own state.
    SolverThreads helpers([&set] { set.Stop(); });
    for (int worker = 1; worker < workers; ++worker) {
        helpers.Start([&set, worker] { set.Work(worker, nullptr); });
    }
    int reported = 0;
    JobProgress report;
    if (progress) {
        report = [&](int finished) {
            reported = finished;
            return progress(finished);
        };
    }
    bool goOn = set.Work(0, &report);
    // The calling thread keeps reporting while the others finish their last jobs, so that a
    // progress bar moves and a stop request is still seen.
    while (goOn && !helpers.WaitAllDone(kReportWhileWaiting)) {
        if (report && set.Finished() != reported) {
            goOn = report(set.Finished());
        }
    }
    if (!goOn) {
        set.Stop();
    }
    helpers.JoinAll();
    // The last jobs may have been finished by another thread after the last report.
    if (goOn && report && set.Finished() != reported) {
        goOn = report(set.Finished());
    }
    set.RethrowFirstFailure();
    return goOn && set.Finished() == jobs;
}

} // namespace kelvor
