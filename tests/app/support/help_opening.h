// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "app/state/app_state.h"

#include <QApplication>
#include <QTest>
#include <QTimer>

namespace kelvor::testing {

// Where help opened when F1 was released over a window, and whether the help window showed.
struct HelpOpening {
    int32_t position = -1;
    bool shown = false;
};

// Releases F1 over the window; the modal help window that opens is read and closed at once.
inline HelpOpening ReleaseF1(QWidget* window, const app::AppState& state) {
    HelpOpening opening;
    QTimer::singleShot(0, [&] {
        opening.position = state.shell.HelpPosition;
        if (QWidget* help = QApplication::activeModalWidget()) {
            opening.shown = help->windowTitle() == "   HELP";
            help->close();
        }
    });
    QTest::keyRelease(window, Qt::Key_F1);
    return opening;
}

} // namespace kelvor::testing
