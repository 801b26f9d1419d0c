// SPDX-License-Identifier: GPL-3.0-or-later
#include "tolerance/gain_mask.h"

namespace kelvor {

bool InsideMask(const GainMask& mask, const std::vector<long double>& frequency,
                const long double* gain) {
    for (const GainMaskSegment& segment : mask) {
        for (std::size_t index = 0; index < frequency.size(); ++index) {
            if (frequency[index] < segment.from || frequency[index] > segment.to) {
                continue;
            }
            if ((segment.lowest && gain[index] < *segment.lowest) ||
                (segment.highest && gain[index] > *segment.highest)) {
                return false;
            }
        }
    }
    return true;
}

} // namespace kelvor
