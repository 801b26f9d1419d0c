// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <vector>

namespace kelvor {

// Limits on the gain over one frequency range, both ends included. A limit that is not given
// does not bind.
struct GainMaskSegment {
    long double from = 0;               // Hz
    long double to = 0;                 // Hz, at least from
    std::optional<long double> lowest;  // dB
    std::optional<long double> highest; // dB

    bool operator==(const GainMaskSegment&) const = default;
};

using GainMask = std::vector<GainMaskSegment>;

// True when every point of the curve that lies in a segment's range is within its limits.
// `gain` holds one value per frequency.
bool InsideMask(const GainMask& mask, const std::vector<long double>& frequency,
                const long double* gain);

} // namespace kelvor
