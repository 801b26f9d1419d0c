// SPDX-License-Identifier: GPL-3.0-or-later
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

    // Set when the next curve is drawn to another scale than the picture holds: another
    // frequency range, another Datafile, another dB span or top.
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

    // A finished sweep over scale becomes the one the graph draws.
    void AcceptSweep(const FrequencyScale& sweptScale, SweepResult result, bool datafileChanged);
    // The dB span and top the graph is drawn with.
    void AcceptDbScale(int32_t span, int32_t top);
    // Whether the next curve goes onto the picture kept: only when superimposing onto a curve
    // of the same scale.
    bool KeepsPicture(bool superimposeTicked) const {
        return superimposeTicked && !NewScale && SuperimposeArmed;
    }
    // Starts a clean picture; the grid is drawn with its first curve when gridLines.
    void ClearPicture(bool gridLines);
};

} // namespace kelvor::app
