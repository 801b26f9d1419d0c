// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/headless_widgets.h"

#include "kelvor_error.h"
#include "render/headless_gui.h"

#include <QApplication>

namespace kelvor::plot {

void EnsureWidgetApplication() {
    if (QCoreApplication::instance() != nullptr) {
        if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
            throw KelvorError("The plots need a widget application, and another kind runs");
        }
        return;
    }
    const render::HeadlessArguments arguments = render::PrepareHeadlessApplication();
    static QApplication* application = new QApplication(arguments.argc, arguments.argv);
    (void)application;
}

} // namespace kelvor::plot
