// The start every README screenshot shares: the sample Datafile in a temporary working folder,
// parsed into an application state whose messages go to standard error.

#pragma once

#include "app/bode/bode_window.h"
#include "app/shell/app_state.h"
#include "messages.h"

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

// Needs the QApplication to exist; the folder goes when the session does.
class ScreenshotSession {
public:
    ScreenshotSession();
    ScreenshotSession(const ScreenshotSession&) = delete;
    ScreenshotSession& operator=(const ScreenshotSession&) = delete;

    AppState& state() { return state_; }
    // False when the sample Datafile did not parse; its messages have gone to standard error.
    bool sampleParsed() const { return sampleParsed_; }

private:
    QTemporaryDir folder_;
    StandardErrorMessages messages_;
    AppState state_;
    bool sampleParsed_ = false;
};

// A mouse move, or a press or release of the left button, over `hertz` halfway down the
// analyser's top plot. The place is found on the plots of the moment, since pinning a marker
// rebuilds them.
void MouseOverTopPlot(TFormBode& window, double hertz, QEvent::Type type);

} // namespace kelvor::app
