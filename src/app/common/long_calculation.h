// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QElapsedTimer>
#include <functional>

namespace kelvor {
class MessageSink;
}

namespace kelvor::app {

// How a calculation ended.
enum class CalculationEnd { Finished, Reset, Fault };

// A calculation that runs inside a window's click handler, with a progress bar and a button that
// resets or cancels it. Events are let through at progress reports, so that the bar repaints and
// a click on that button arrives; the calculation ends at its next report after one.
class LongCalculation {
public:
    // lockControls(true) as a calculation starts; lockControls(false) when it ends short, by a
    // reset or a fault. A finished calculation leaves the controls to the window. Events are let
    // through at most once every eventSliceMs, so that frequent reports cost little.
    LongCalculation(MessageSink& messages, std::function<void(bool locked)> lockControls,
                    int eventSliceMs = 0);

    bool Running() const { return running_; }
    bool ResetRequested() const { return resetRequested_; }
    // Reset, clicked while running.
    void RequestReset() { resetRequested_ = true; }

    // Runs work, which returns true when it finished and false when it stopped for a reset. A
    // fault (KelvorError) ends it: the controls unlock first, so that the user can go on once the
    // message is read.
    CalculationEnd Run(const std::function<bool()>& work);

    // Lets events through, when the slice since the last time has passed; false once a reset
    // was asked for.
    bool LetEventsThrough();
    // The same, whether or not the slice has passed.
    bool LetEventsThroughNow();

private:
    MessageSink& messages_;
    std::function<void(bool locked)> lockControls_;
    int eventSliceMs_;
    QElapsedTimer sinceEvents_;
    bool running_ = false;
    bool resetRequested_ = false;
};

} // namespace kelvor::app
