// SPDX-License-Identifier: GPL-3.0-or-later
#include "timeresp/harmonic_table.h"

#include <cmath>

namespace kelvor {

bool IsComputableFundamental(TimeResponseKind kind, int32_t groups, long double fundamental) {
    const long double highest =
        fundamental *
        static_cast<long double>(HarmonicNumber(kind, groups * kHarmonicsPerGroup - 1));
    return fundamental > 0 && std::isfinite(highest);
}

long double DefaultGraphGain(const HarmonicTable& table) {
    return 20 * std::log10(1 / table.largest);
}

long double SquareWaveTimeOffset(int32_t resolution) {
    return resolution >= 8 ? 0.5L : 0.0L;
}

} // namespace kelvor
