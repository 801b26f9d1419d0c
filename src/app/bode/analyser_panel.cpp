// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/bode/analyser_panel.h"

#include "app/bode/analysis_panel_frame.h"
#include "app/bode/bode_window.h"
#include "app/help/help_window.h"
#include "app/state/app_state.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QPushButton>
#include <QTimer>

namespace kelvor::app {

AnalyserPanel::AnalyserPanel(AppState& state, TFormBode& bode, const HelpPlace& help)
    : QWidget(&bode, Qt::Window), state_(state), bode_(bode), calculation_(
                                                                  state.messages,
                                                                  [this](bool locked) {
                                                                      SetRunning(locked);
                                                                      bode_.SetComputing(locked);
                                                                  },
                                                                  kAnalyserProgressSliceMs),
      help_(help) {
    connect(&state_.datafileEvents, &DatafileEvents::currentChanged, this,
            &AnalyserPanel::FollowCurrentDatafile);
}

void AnalyserPanel::BuildFrame(QWidget* settings, QWidget* results, int settingsWidth) {
    const AnalysisPanelControls controls =
        BuildAnalysisPanelFrame(*this, settings, results, settingsWidth);
    ButtonRun = controls.run;
    ButtonCancel = controls.cancel;
    ProgressBar = controls.progress;
    connect(ButtonRun, &QPushButton::clicked, this, [this] { ButtonRunClick(); });
    connect(ButtonCancel, &QPushButton::clicked, this, &AnalyserPanel::ButtonCancelClick);
    // The analyser's own Cancel stops the analysis too: it is enabled while this one runs.
    connect(bode_.ButtonCancel, &QPushButton::clicked, this, &AnalyserPanel::ButtonCancelClick);
    SetRunning(false);
}

void AnalyserPanel::FollowCurrentDatafile() {
    if (calculation_.Running()) {
        calculation_.RequestReset();
        followPending_ = true;
        return;
    }
    followPending_ = false;
    TakeCurrentDatafile();
}

void AnalyserPanel::SetRunning(bool running) {
    EnableControls(!running);
    ButtonCancel->setEnabled(running);
    if (!running && followPending_) {
        // Taken once the analysis has returned from its event slices, not inside one.
        QTimer::singleShot(0, this, [this] {
            if (followPending_) {
                FollowCurrentDatafile();
            }
        });
    }
}

void AnalyserPanel::keyReleaseEvent(QKeyEvent* event) {
    if (!OpenHelpOnF1(event, state_, help_)) {
        QWidget::keyReleaseEvent(event);
    }
}

void AnalyserPanel::closeEvent(QCloseEvent* event) {
    calculation_.RequestReset();
    QWidget::closeEvent(event);
}

} // namespace kelvor::app
