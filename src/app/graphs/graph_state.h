#pragma once

#include "analysis/frequency_scale.h"
#include "analysis/sweep.h"

#include <QImage>
#include <cstdint>

namespace kelvor::app {

// The amplitude graph's shared state: the last sweep and its scale, the choices of the graph
// parameter window, and the picture that curves are drawn on (kept between graphs so that
// curves can be superimposed). FCode, GraphScale and GraphTop live in the settings.
struct GraphState {
    FrequencyScale scale;
    SweepResult sweep;

    bool NewScale = false;
    int32_t LastFCode = -1;
    long double LastBaseFrequency = 0;
    long double LastEndFrequency = 0;
    int32_t LastGraphScale = -1;
    int32_t LastGraphTop = -2147483647;

    bool SuperimposeArmed = false;
    bool GridLinesPending = false;

    // The graph parameter window's check boxes, which the graph window reads when it draws.
    bool GridLines = true;
    bool ColourGraph = false;
    bool BoldGraph = false;
    bool Superimpose = false;

    QImage picture; // the graph window's picture; empty means a clean white picture
};

} // namespace kelvor::app
