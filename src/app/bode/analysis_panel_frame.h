// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

class QProgressBar;
class QPushButton;
class QWidget;

namespace kelvor::app {

struct AnalysisPanelControls {
    QPushButton* run = nullptr;
    QPushButton* cancel = nullptr;
    QProgressBar* progress = nullptr;
};

// The body the analyser's side panels share: settings on the left and results on the right of a
// splitter (each scrolled on a small screen), with Run, Cancel, the progress bar and the help
// hint under them. Run is the panel's default button.
AnalysisPanelControls BuildAnalysisPanelFrame(QWidget& panel, QWidget* settings, QWidget* results,
                                              int settingsWidth);

} // namespace kelvor::app
