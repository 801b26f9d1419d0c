// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/common/long_calculation.h"

#include "messages.h"

#include <new>
#include <string>
#include <utility>

namespace kelvor::app {
namespace {

// The message for a fault that ended a calculation. Out of memory has no useful text of its own.
std::string FaultMessage(const std::exception_ptr& fault) {
    try {
        std::rethrow_exception(fault);
    } catch (const std::bad_alloc&) {
        return "Not enough memory for this calculation: ask for fewer points or runs.";
    } catch (const std::exception& error) {
        return error.what();
    } catch (...) {
        return "The calculation failed for a reason it could not name.";
    }
}

} // namespace

LongCalculation::LongCalculation(MessageSink& messages,
                                 std::function<void(bool locked)> lockControls, int progressSliceMs)
    : messages_(messages), lockControls_(std::move(lockControls)), progressSlice_(progressSliceMs) {
}

LongCalculation::~LongCalculation() {
    if (worker_.joinable()) {
        resetRequested_ = true;
        worker_.join();
    }
}

void LongCalculation::Start(Work work, Finish finish, CalculationThread where) {
    running_ = true;
    resetRequested_ = false;
    finish_ = std::move(finish);
    where_ = where;
    lastShown_ = std::chrono::steady_clock::now();
    lockControls_(true);
    if (where == CalculationThread::Window) {
        bool finished = false;
        std::exception_ptr fault;
        try {
            finished = work();
        } catch (...) {
            fault = std::current_exception();
        }
        End(finished, fault);
        return;
    }
    try {
        worker_ = std::thread([this, work = std::move(work)] {
            bool finished = false;
            std::exception_ptr fault;
            try {
                finished = work();
            } catch (...) {
                fault = std::current_exception();
            }
            windowThread_.Post([this, finished, fault] {
                worker_.join();
                End(finished, fault);
            });
        });
    } catch (...) {
        // No thread could be made (std::system_error): the calculation ends before it began.
        End(false, std::current_exception());
    }
}

bool LongCalculation::Report(const std::function<void()>& show, bool now) {
    if (where_ == CalculationThread::Window) {
        show();
        return !resetRequested_;
    }
    const auto time = std::chrono::steady_clock::now();
    if (now || time - lastShown_ >= progressSlice_) {
        lastShown_ = time;
        windowThread_.Post(show);
    }
    return !resetRequested_;
}

void LongCalculation::End(bool finished, const std::exception_ptr& fault) {
    running_ = false;
    // Taken out first: the finish may start the next calculation.
    const Finish finish = std::move(finish_);
    finish_ = nullptr;
    CalculationEnd end = CalculationEnd::Finished;
    if (fault) {
        end = CalculationEnd::Fault;
        lockControls_(false);
        messages_.ShowError(FaultMessage(fault));
    } else if (!finished) {
        end = CalculationEnd::Reset;
        lockControls_(false);
    }
    resetRequested_ = false;
    if (finish) {
        finish(end);
    }
}

} // namespace kelvor::app
