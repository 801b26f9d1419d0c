// SPDX-License-Identifier: GPL-3.0-or-later
#include "bode/bode_grid.h"

#include "text/eng_value.h"

#include <algorithm>
#include <cmath>

namespace kelvor {

std::optional<FrequencyRange> ParseFrequencyRange(std::string_view start, std::string_view end) {
    bool ok = true;
    FrequencyRange range;
    range.start = ParseEngValue(start, ok);
    range.end = ParseEngValue(end, ok);
    if (!ok || !(range.start > 0) || !(range.end > range.start) || !std::isfinite(range.end) ||
        !(std::log10(range.end / range.start) <= kMostDecades)) {
        return std::nullopt;
    }
    return range;
}

std::vector<long double> LogFrequencyGrid(const FrequencyRange& range, int32_t pointsPerDecade) {
    pointsPerDecade = std::clamp<int32_t>(pointsPerDecade, 1, kMostPointsPerDecade);
    const long double decades = std::log10(range.end / range.start);
    // A tiny allowance, so that exactly three decades at 100 per decade give 300 steps, not 301.
    const long double wanted = decades * pointsPerDecade;
    const auto steps = std::max<long long>(1, std::llround(std::ceil(wanted - 1e-9L * wanted)));
    std::vector<long double> grid(static_cast<std::size_t>(steps) + 1);
    for (long long step = 0; step < steps; ++step) {
        grid[static_cast<std::size_t>(step)] =
            range.start * std::pow(10.0L, decades * static_cast<long double>(step) /
                                              static_cast<long double>(steps));
    }
    grid.back() = range.end;
    return grid;
}

} // namespace kelvor
