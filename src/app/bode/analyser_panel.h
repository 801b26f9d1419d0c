// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/bode/panel_datafile.h"
#include "app/common/long_calculation.h"

#include <QWidget>

class QProgressBar;
class QPushButton;

namespace kelvor::app {

struct AppState;
struct HelpPlace;
class TFormBode;

// What the analyser's Tolerances and Noise panels share: a window of its own over the analyser,
// the current Datafile as the panel last read it, Run and Cancel over a long calculation that
// locks the analyser too (whose own Cancel stops it as well), F1 for the panel's help topic, a
// close that cancels, and following the current Datafile: a running analysis is cancelled
// first, its results never shown, and the change is taken once it has ended.
class AnalyserPanel : public QWidget {
    Q_OBJECT
public:
    // The current Datafile changed.
    void FollowCurrentDatafile();

    virtual void ButtonRunClick() = 0;
    void ButtonCancelClick() { calculation_.RequestReset(); }

    QPushButton* ButtonRun = nullptr;
    QPushButton* ButtonCancel = nullptr;
    QProgressBar* ProgressBar = nullptr;

protected:
    AnalyserPanel(AppState& state, TFormBode& bode, const HelpPlace& help);

    // Lays the panel's settings and results out around Run, Cancel and the progress bar, and
    // starts it idle; called by the panel's constructor once its controls exist.
    void BuildFrame(QWidget* settings, QWidget* results, int settingsWidth);
    // The panel's controls locked while an analysis runs; a change of the current Datafile that
    // came meanwhile is taken once it has ended.
    void SetRunning(bool running);
    virtual void EnableControls(bool idle) = 0;
    // Takes the current Datafile after a change, with no analysis running.
    virtual void TakeCurrentDatafile() = 0;

    void keyReleaseEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

    AppState& state_;
    TFormBode& bode_;
    PanelDatafile loaded_;
    LongCalculation calculation_;

private:
    const HelpPlace& help_;
    bool followPending_ = false; // the Datafile changed while an analysis ran
};

} // namespace kelvor::app
