// SPDX-License-Identifier: GPL-3.0-or-later
#include "plot/headless_widgets.h"

#include "render/headless_gui.h"

#include <QApplication>

namespace kelvor::plot {

void EnsureWidgetApplication() {
    render::EnsureHeadlessApplication<QApplication>();
}

} // namespace kelvor::plot
