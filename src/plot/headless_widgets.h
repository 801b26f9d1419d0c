// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kelvor::plot {

// The plots are widgets, which only exist inside a QApplication. A tool without windows calls
// this before building one: it creates the application for the rest of the process, on the
// offscreen platform unless QT_QPA_PLATFORM names another. A running QApplication is kept;
// a running application without widgets throws KelvorError.
void EnsureWidgetApplication();

} // namespace kelvor::plot
