// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <string>

namespace kelvor {

// The gain a square-wave or pulse plot is drawn at, from the integer the user asked for.
struct GraphGainChoice {
    int32_t graphGain = 0;    // what the gain box shows afterwards
    bool outOfLimits = false; // the limits warning is due, naming warnedGain
    int32_t warnedGain = 0;
    long double plotGain = 0; // dB
};

// Round(defaultGain), halves to even.
int32_t RoundedDefaultGain(long double defaultGain);

// The asked gain limited to the rounded default +/- spread, warned about outside +/-1000 dB,
// then limited to +/-3000 dB. Keeping the rounded default plots at the unrounded default, so
// that the largest harmonic is scaled to exactly 1.
GraphGainChoice ChooseGraphGain(int32_t asked, long double defaultGain, int32_t spread);

std::string GainLimitsWarning(int32_t gain);

// Power10(plotGain / 20) times the plot's scale for unit amplitude.
long double PlotScale(long double plotGain, long double unitScale);

} // namespace kelvor
