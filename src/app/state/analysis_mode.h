// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace kelvor::app {

// The command the graph window and the menu windows are serving.
enum class AnalysisMode {
    None = 0,
    Amplitude = 4,
    SquareWave = 5,
    Pulse = 6,
    TestPattern = 7,
    Response = 8,
};

} // namespace kelvor::app
