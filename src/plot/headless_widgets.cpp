#include "plot/headless_widgets.h"

#include "render/headless_gui.h"

#include <QApplication>

namespace kelvor::plot {

void EnsureWidgetApplication() {
    if (QCoreApplication::instance() != nullptr) {
        return;
    }
    const render::HeadlessArguments arguments = render::PrepareHeadlessApplication();
    static QApplication* application = new QApplication(arguments.argc, arguments.argv);
    (void)application;
}

} // namespace kelvor::plot
