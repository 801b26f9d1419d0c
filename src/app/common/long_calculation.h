// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/common/window_thread_calls.h"

#include <atomic>
#include <chrono>
#include <exception>
#include <functional>
#include <thread>

namespace kelvor {
class MessageSink;
}

namespace kelvor::app {

// How a calculation ended.
enum class CalculationEnd { Finished, Reset, Fault };

// Where a calculation runs. A computation that shows messages while it runs (the inductor
// trace waits for the user at every inductor) stays on the window thread, where the boxes are.
enum class CalculationThread { Worker, Window };

// A window's long calculation, with a progress bar and a button that resets or cancels it. It
// runs on a thread of its own, so that the windows stay live and no command of theirs ever runs
// inside it; progress and the end come back to the window thread as queued calls, and a reset
// is a flag the calculation reads at its next report.
class LongCalculation {
public:
    // The work returns true when it finished and false when it stopped for a reset.
    using Work = std::function<bool()>;
    // Called on the window thread once the work has ended.
    using Finish = std::function<void(CalculationEnd)>;

    // lockControls(true) as a calculation starts; lockControls(false) when it ends short, by a
    // reset or a fault. A finished calculation leaves the controls to the window. Progress is
    // shown at most once every progressSliceMs, so that frequent reports cost little.
    LongCalculation(MessageSink& messages, std::function<void(bool locked)> lockControls,
                    int progressSliceMs = 0);
    // A calculation still running is reset, and waited for: its work may read the window.
    ~LongCalculation();
    LongCalculation(const LongCalculation&) = delete;
    LongCalculation& operator=(const LongCalculation&) = delete;

    bool Running() const { return running_; }
    bool ResetRequested() const { return resetRequested_; }
    // Reset, clicked while running.
    void RequestReset() { resetRequested_ = true; }

    // Starts work and returns; finish follows on the window thread (at once for the window
    // thread's calculations). Every exception ends it as a fault: the controls unlock first,
    // so that the user can go on once the message is read. The work must not touch widgets:
    // it shows its progress through Report.
    void Start(Work work, Finish finish, CalculationThread where = CalculationThread::Worker);

    // Called by the work: show runs on the window thread, when the slice since the last one has
    // passed or now is set; false once a reset was asked for.
    bool Report(const std::function<void()>& show, bool now = false);

private:
    void End(bool finished, const std::exception_ptr& fault);

    MessageSink& messages_;
    std::function<void(bool locked)> lockControls_;
    std::chrono::milliseconds progressSlice_;
    // The worker's progress and end, run on the window thread; those still waiting when the
    // window goes are dropped with it.
    WindowThreadCalls windowThread_;
    std::thread worker_;
    Finish finish_;
    CalculationThread where_ = CalculationThread::Worker;
    // Read and written by the thread that runs the work only.
    std::chrono::steady_clock::time_point lastShown_;
    bool running_ = false;
    std::atomic<bool> resetRequested_ = false;
};

} // namespace kelvor::app
