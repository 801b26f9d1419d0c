#pragma once

#include "plot/headless_widgets.h"

namespace kelvor::bench {

// One process runs every benchmark, and the Bode plots need a widget application; that kind
// serves the QtGui pictures too, so every benchmark that draws starts it, whichever runs first.
inline void EnsureApplication() {
    plot::EnsureWidgetApplication();
}

} // namespace kelvor::bench
