// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kelvor::plot {

// The plots are widgets, which only exist inside a QApplication: the one application of a tool
// without windows that shows plots (render::EnsureHeadlessApplication).
void EnsureWidgetApplication();

} // namespace kelvor::plot
