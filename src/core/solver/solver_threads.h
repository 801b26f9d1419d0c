// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "solver/response.h"

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

namespace kelvor {

// The number of threads to solve on: `requested`, or one per core for 0.
inline int SolverThreadCount(int requested) {
    if (requested > 0) {
        return requested;
    }
    return std::max(1, static_cast<int>(std::thread::hardware_concurrency()));
}

// The threads that help the calling one, each with a solver of its own when it solves. They are
// stopped and joined however the calling thread leaves, even by an exception from its progress
// report, so that none outlives the results it fills.
class SolverThreads {
public:
    // `stop` makes the work of every thread return soon.
    explicit SolverThreads(std::function<void()> stop) : stop_(std::move(stop)) {}
    SolverThreads(const SolverThreads&) = delete;
    SolverThreads& operator=(const SolverThreads&) = delete;
    ~SolverThreads() {
        stop_();
        JoinAll();
    }

    void Start(bool test1Trace, std::function<void(ResponseSolver&)> work) {
        solvers_.push_back(std::make_unique<ResponseSolver>());
        solvers_.back()->Test1Trace = test1Trace;
        Start([work = std::move(work), &solver = *solvers_.back()] { work(solver); });
    }

    // A thread whose work keeps its own state and needs no solver.
    void Start(std::function<void()> work) {
        threads_.emplace_back([this, work = std::move(work)] {
            work();
            {
                const std::lock_guard lock(doneMutex_);
                ++done_;
            }
            doneChanged_.notify_all();
        });
    }

    // Waits until every thread's work has returned or `longest` has passed; true for the first.
    // The caller wakes as the last one ends, not at its next look: short sets would otherwise
    // lose much of what the second core gained.
    bool WaitAllDone(std::chrono::milliseconds longest) {
        std::unique_lock lock(doneMutex_);
        return doneChanged_.wait_for(lock, longest,
                                     [this] { return done_ == static_cast<int>(threads_.size()); });
    }

    void JoinAll() {
        for (std::thread& thread : threads_) {
            if (thread.joinable()) {
                thread.join();
            }
        }
    }

private:
    std::function<void()> stop_;
    std::vector<std::unique_ptr<ResponseSolver>> solvers_;
    std::vector<std::thread> threads_;
    std::mutex doneMutex_;
    std::condition_variable doneChanged_;
    int done_ = 0;
};

} // namespace kelvor
