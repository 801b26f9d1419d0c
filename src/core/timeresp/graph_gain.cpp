// SPDX-License-Identifier: GPL-3.0-or-later
#include "timeresp/graph_gain.h"

#include "text/int_helpers.h"

#include <cmath>

namespace kelvor {

int32_t RoundedDefaultGain(long double defaultGain) {
    // The largest gain is at least 1e-250 and at most the extended range, so the default lies
    // well inside 32 bits; the clamp only guards the conversion.
    const long double rounded = std::nearbyint(defaultGain);
    if (!(rounded > -2.0e9L)) {
        return -2000000000;
    }
    if (rounded > 2.0e9L) {
        return 2000000000;
    }
    return static_cast<int32_t>(rounded);
}

GraphGainChoice ChooseGraphGain(int32_t asked, long double defaultGain, int32_t spread) {
    const int32_t rounded = RoundedDefaultGain(defaultGain);
    GraphGainChoice choice;
    int32_t v = asked;
    ClampInt(v, rounded - spread, rounded + spread);
    if (!InRange(v, -1000, 1000)) {
        choice.outOfLimits = true;
        choice.warnedGain = v;
    }
    ClampInt(v, -3000, 3000);
    choice.graphGain = v;
    choice.plotGain = v == rounded ? defaultGain : static_cast<long double>(v);
    return choice;
}

std::string GainLimitsWarning(int32_t gain) {
    return "Gain out of limits " + std::to_string(gain) +
           " dB  \r\n\r\nResults may not be valid.\r\n";
}

long double PlotScale(long double plotGain, long double unitScale) {
    return Power10(plotGain / 20) * unitScale;
}

} // namespace kelvor
