// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the README's pictures of the tolerance analysis: the Bode analyser on the sample
// Datafile, 100 Hz to 10 kHz, with the spread of 500 runs of the default tolerances under its
// gain and phase curves and the runs that fail a gain mask, and the Tolerances panel beside it.
// Usage: kelvor-tolerance-screenshot PLOTS.png PANEL.png

#include "app/bode/bode_window.h"
#include "app/bode/tolerance_window.h"
#include "app/bode/tools/screenshot_session.h"
#include "tolerance/tolerance_file.h"

#include <QApplication>
#include <QCheckBox>
#include <QPushButton>
#include <iostream>

using namespace kelvor;

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: kelvor-tolerance-screenshot PLOTS.png PANEL.png\n";
        return 2;
    }
    app::ScreenshotSession session(argc, argv);
    if (!session.sampleParsed()) {
        return 1;
    }
    // Above the resonance the gain must stay within 0.8 dB of 0 dB.
    ToleranceSettings settings = DefaultToleranceSettings();
    settings.mask = {{700, 10000, -0.8L, 0.8L}};
    const app::AppState& state = session.state();
    WriteToleranceFile(ToleranceFilePath(state.DatafilePath()), settings, state.shell.DatafileName);

    app::TFormBode window(session.state());
    app::PrepareAnalyser(window, "100", "10k");
    window.CheckBoxGroupDelay->setChecked(false);
    window.CheckBoxZin->setChecked(false);
    window.CheckBoxZout->setChecked(false);
    window.ShowForCurrentDatafile();
    app::WaitWhileComputing(window);
    window.ButtonTolerances->click();
    app::TFormTolerances& panel = *window.tolerances();
    panel.CheckBoxFailingRuns->setChecked(true);
    panel.ButtonRun->click();
    app::WaitWhileComputing(window);

    // The cursor at 1 kHz, where the histogram is taken.
    app::MouseOverTopPlot(window, 1000, QEvent::MouseMove);
    QApplication::processEvents();

    if (!window.grab().save(QString::fromLocal8Bit(argv[1]), "PNG") ||
        !panel.grab().save(QString::fromLocal8Bit(argv[2]), "PNG")) {
        std::cerr << "cannot write the pictures\n";
        return 1;
    }
    return 0;
}
