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
    if (QCoreApplication::instance() != nullptr) {
        return;
    }
    const HeadlessArguments arguments = PrepareHeadlessApplication();
    static QGuiApplication* application = new QGuiApplication(arguments.argc, arguments.argv);
    (void)application;
}

} // namespace kelvor::render
