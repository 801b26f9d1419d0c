// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/headless_gui.h"

#include <QGuiApplication>
#include <cstdlib>

namespace kelvor::render {

void EnsureGuiApplication() {
    if (QCoreApplication::instance() != nullptr) {
        return;
    }
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // The application keeps pointers to its arguments for its whole life.
    static int argc = 1;
    static char name[] = "kelvor";
    static char* argv[] = {name, nullptr};
    static QGuiApplication* application = new QGuiApplication(argc, argv);
    (void)application;
}

} // namespace kelvor::render
