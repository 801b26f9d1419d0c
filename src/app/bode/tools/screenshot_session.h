// SPDX-License-Identifier: GPL-3.0-or-later
// The start every README screenshot shares: a windowed application on the offscreen platform,
// the sample Datafile in a temporary working folder, parsed into an application state whose
// messages go to standard error, and the Bode analyser at the pictures' size.

#pragma once

#include "app/bode/bode_window.h"
#include "app/shell/desktop_dialogs.h"
#include "app/state/app_state.h"
#include "messages.h"

#include <QApplication>
#include <QEvent>
#include <QTemporaryDir>

namespace kelvor::app {

// Nobody watches a screenshot being drawn: messages go to standard error, questions get No.
class StandardErrorMessages : public MessageSink {
public:
    void ShowInfo(const std::string& message) override;
    void ShowWarning(const std::string& message) override;
    void ShowError(const std::string& message) override;
    Answer Ask(const std::string& question, QuestionButtons buttons) override;
};

// The folder goes when the session does.
class ScreenshotSession {
public:
    ScreenshotSession(int& argc, char** argv);
    ScreenshotSession(const ScreenshotSession&) = delete;
    ScreenshotSession& operator=(const ScreenshotSession&) = delete;

    AppState& state() { return state_; }
    // False when the sample Datafile did not parse; its messages have gone to standard error.
    bool sampleParsed() const { return sampleParsed_; }

private:
    // Chooses the platform before the application starts.
    struct HeadlessPlatform {
        HeadlessPlatform();
    };

    HeadlessPlatform platform_;
    QApplication application_;
    QTemporaryDir folder_;
    StandardErrorMessages messages_;
    DesktopDialogs dialogs_;
    AppState state_;
    bool sampleParsed_ = false;
};

// The analyser at the pictures' size, with the range typed in.
void PrepareAnalyser(TFormBode& window, const QString& start, const QString& end);

// Handles events until the analyser and its panels have finished computing: they compute on a
// worker and take the result as a queued call.
void WaitWhileComputing(const TFormBode& window);

// A mouse move, or a press or release of the left button, over `hertz` halfway down the
// analyser's top plot. The place is found on the plots of the moment, since pinning a marker
// rebuilds them.
void MouseOverTopPlot(TFormBode& window, double hertz, QEvent::Type type);

} // namespace kelvor::app
