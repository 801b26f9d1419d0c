#include "timeresp/harmonic_table.h"

#include <cmath>

namespace kelvor {

long double DefaultGraphGain(const HarmonicTable& table) {
    return 20 * std::log10(1 / table.largest);
}

long double SquareWaveTimeOffset(int32_t resolution) {
    return resolution >= 8 ? 0.5L : 0.0L;
}

} // namespace kelvor
