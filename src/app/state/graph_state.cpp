// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/state/graph_state.h"

#include <utility>

namespace kelvor::app {

void GraphState::AcceptSweep(const FrequencyScale& sweptScale, SweepResult result,
                             bool datafileChanged) {
    if (sweptScale.FCode != LastFCode || sweptScale.BaseFrequency != LastBaseFrequency ||
        sweptScale.EndFrequency != LastEndFrequency || datafileChanged) {
        NewScale = true;
    }
    LastFCode = sweptScale.FCode;
    LastBaseFrequency = sweptScale.BaseFrequency;
    LastEndFrequency = sweptScale.EndFrequency;
    scale = sweptScale;
    sweep = std::move(result);
}

void GraphState::AcceptDbScale(int32_t span, int32_t top) {
    if (span != LastGraphScale || top != LastGraphTop) {
        NewScale = true;
    }
    LastGraphScale = span;
    LastGraphTop = top;
}

void GraphState::ClearPicture(bool gridLines) {
    picture = QImage();
    SuperimposeArmed = false;
    GridLinesPending = gridLines;
}

} // namespace kelvor::app
