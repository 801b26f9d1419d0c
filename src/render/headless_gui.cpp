// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/headless_gui.h"

#include <QGuiApplication>
#include <cstdlib>

namespace kelvor::render {

HeadlessArguments PrepareHeadlessApplication() {
    if (std::getenv("QT_QPA_PLATFORM") == nullptr) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    // The application keeps pointers to its arguments for its whole life.
    static int argc = 1;
    static char name[] = "kelvor";
    static char* argv[] = {name, nullptr};
    return {argc, argv};
}

void EnsureGuiApplication() {
    EnsureHeadlessApplication<QGuiApplication>();
}

} // namespace kelvor::render
