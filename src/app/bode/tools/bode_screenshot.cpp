// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the README's picture of the Bode analyser: the window on the sample Datafile, 10 Hz to
// 100 kHz, with the cursor over the resonance and one pinned marker, grabbed as it is shown.
// Usage: kelvor-bode-screenshot OUT.png

#include "app/bode/bode_window.h"
#include "app/bode/tools/screenshot_session.h"

#include <QApplication>
#include <iostream>

using namespace kelvor;

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: kelvor-bode-screenshot OUT.png\n";
        return 2;
    }
    app::ScreenshotSession session(argc, argv);
    if (!session.sampleParsed()) {
        return 1;
    }

    app::TFormBode window(session.state());
    app::PrepareAnalyser(window, "10", "100k");
    window.ShowForCurrentDatafile();
    app::WaitWhileComputing(window);

    // A marker pinned at 1 kHz, and the cursor at the gain peak.
    app::MouseOverTopPlot(window, 1000, QEvent::MouseButtonPress);
    app::MouseOverTopPlot(window, 1000, QEvent::MouseButtonRelease);
    QApplication::processEvents();
    app::MouseOverTopPlot(window, 376, QEvent::MouseMove);
    QApplication::processEvents();

    if (!window.grab().save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::cerr << "cannot write " << argv[1] << '\n';
        return 1;
    }
    return 0;
}
