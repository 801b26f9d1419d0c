// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "solver/response.h"

#include <algorithm>
#include <atomic>
#include <functional>
#include <memory>
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
            done_.fetch_add(1);
        });
    }

    bool AllDone() const { return done_.load() == static_cast<int>(threads_.size()); }

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
    std::atomic<int> done_{0};
};

} // namespace kelvor
