// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <functional>

namespace kelvor {
class MessageSink;
}

namespace kelvor::app {

// A calculation that runs inside a window's click handler, with a progress bar and a button that
// reads "&Reset" while it runs. Events are let through at each progress report, so that the bar
// repaints and a click on Reset arrives; the calculation ends at its next report after one.
class LongCalculation {
public:
    // lockControls(true) as a calculation starts; lockControls(false) when it ends short, by a
    // reset or a fault. A finished calculation leaves the controls to the window.
    LongCalculation(MessageSink& messages, std::function<void(bool locked)> lockControls);

    bool Running() const { return running_; }
    bool ResetRequested() const { return resetRequested_; }
    // Reset, clicked while running.
    void RequestReset() { resetRequested_ = true; }

    // Runs work, which returns true when it finished. A fault (KelvorError) ends it: the controls
    // unlock first, so that the user can go on once the message is read. True when finished.
    bool Run(const std::function<bool()>& work);

    // Lets events through; false once Reset was clicked.
    bool LetEventsThrough();

private:
    MessageSink& messages_;
    std::function<void(bool locked)> lockControls_;
    bool running_ = false;
    bool resetRequested_ = false;
};

} // namespace kelvor::app
