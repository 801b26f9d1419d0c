// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <vector>

namespace kelvor {

// The gain peak and the half-power points of one curve, read from its grid: the peak from the
// parabola through the highest point and its neighbours, the crossings by straight lines
// between neighbours, both in log frequency. No solves are needed, so every run of a tolerance
// analysis gets its markers at no cost; at 100 points per decade they lie within a few parts
// in 10,000 of the frequencies the solver would refine, and a sharp peak's height within a few
// thousandths of a dB.
struct GridMarkers {
    long double peakFrequency = 0;
    long double peakGain = 0;
    std::optional<long double> lowerHalfPower;
    std::optional<long double> upperHalfPower;
};

// `gain` holds one value (dB) per frequency; at least one frequency.
GridMarkers FindGridMarkers(const std::vector<long double>& frequency, const long double* gain);

} // namespace kelvor
