// SPDX-License-Identifier: GPL-3.0-or-later
#include "tolerance/grid_markers.h"

#include "bode/bode_markers.h"

#include <cmath>

namespace kelvor {
namespace {

// The crossing of `level` nearest to the grid point `from`, searching downwards or upwards.
std::optional<long double> Crossing(const std::vector<long double>& frequency,
                                    const long double* gain, std::size_t from, bool upwards,
                                    long double level) {
    const std::size_t count = frequency.size();
    for (std::size_t index = from; upwards ? index + 1 < count : index > 0;
         upwards ? ++index : --index) {
        const std::size_t next = upwards ? index + 1 : index - 1;
        if (gain[next] < level) {
            const long double share = (gain[index] - level) / (gain[index] - gain[next]);
            const long double logIndex = std::log(frequency[index]);
            return std::exp(logIndex + share * (std::log(frequency[next]) - logIndex));
        }
    }
    return std::nullopt;
}

} // namespace

GridMarkers FindGridMarkers(const std::vector<long double>& frequency, const long double* gain) {
    const std::size_t count = frequency.size();
    std::size_t top = 0;
    for (std::size_t index = 1; index < count; ++index) {
        if (gain[index] > gain[top]) {
            top = index;
        }
    }
    GridMarkers markers;
    markers.peakFrequency = frequency[top];
    markers.peakGain = gain[top];
    if (top > 0 && top + 1 < count) {
        const long double x0 = std::log(frequency[top - 1]);
        const long double x1 = std::log(frequency[top]);
        const long double x2 = std::log(frequency[top + 1]);
        const long double slopeLow = (gain[top] - gain[top - 1]) / (x1 - x0);
        const long double slopeHigh = (gain[top + 1] - gain[top]) / (x2 - x1);
        const long double curvature = (slopeHigh - slopeLow) / (x2 - x0); // half the second
        if (curvature < 0) {
            // The vertex of the parabola through the three points.
            const long double vertex = (x0 + x1) / 2 - slopeLow / (2 * curvature);
            markers.peakFrequency = std::exp(vertex);
            markers.peakGain = gain[top] + (vertex - x1) * (slopeLow + curvature * (vertex - x0));
        }
    }
    const long double level = markers.peakGain + HalfPowerDrop();
    markers.lowerHalfPower = Crossing(frequency, gain, top, false, level);
    markers.upperHalfPower = Crossing(frequency, gain, top, true, level);
    return markers;
}

} // namespace kelvor
