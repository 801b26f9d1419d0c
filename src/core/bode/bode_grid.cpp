// SPDX-License-Identifier: GPL-3.0-or-later
#include "bode/bode_grid.h"

#include "text/eng_value.h"
#include "text/words.h"

#include <algorithm>
#include <cmath>

namespace kelvor {

FrequencyRangeReading ReadFrequencyRange(std::string_view start, std::string_view end,
                                         std::string_view startName, std::string_view endName) {
    const auto problem = [](std::string_view name, const std::string& why) {
        return FrequencyRangeReading{std::nullopt, std::string(name) + ": " + why};
    };
    const auto read = [&](std::string_view text, std::string_view name,
                          long double& value) -> std::optional<FrequencyRangeReading> {
        const std::string trimmed = TrimSpaces(text);
        if (trimmed.empty()) {
            return problem(name, "a frequency is needed");
        }
        bool ok = true;
        value = ParseEngValue(trimmed, ok);
        if (!ok || !std::isfinite(value)) {
            return problem(name, "\"" + trimmed + "\" is not a frequency");
        }
        if (!(value > 0)) {
            return problem(name, "must be above 0 Hz");
        }
        return std::nullopt;
    };
    FrequencyRange range;
    if (auto fault = read(start, startName, range.start)) {
        return *fault;
    }
    if (auto fault = read(end, endName, range.end)) {
        return *fault;
    }
    if (!(range.end > range.start)) {
        return problem(endName, "must be above the start");
    }
    if (!(std::log10(range.end / range.start) <= kMostDecades)) {
        return problem(endName, "the range may span at most " +
                                    std::to_string(static_cast<int>(kMostDecades)) + " decades");
    }
    return {range, {}};
}

std::optional<FrequencyRange> ParseFrequencyRange(std::string_view start, std::string_view end) {
    return ReadFrequencyRange(start, end, "start", "end").range;
}

std::optional<std::string> PointsPerDecadeProblem(long long pointsPerDecade,
                                                  std::string_view name) {
    if (pointsPerDecade >= 1 && pointsPerDecade <= kMostPointsPerDecade) {
        return std::nullopt;
    }
    return std::string(name) + ": " + std::to_string(pointsPerDecade) + " is outside 1 to " +
           std::to_string(kMostPointsPerDecade);
}

int32_t PointsPerDecadeForView(const FrequencyRange& computed, const FrequencyRange& view,
                               int32_t pointsPerDecade) {
    const long double zoom =
        std::log(computed.end / computed.start) / std::log(view.end / view.start);
    const long double wanted = std::ceil(pointsPerDecade * zoom);
    if (!(wanted < kMostPointsPerDecade)) { // a NaN from an empty view too
        return kMostPointsPerDecade;
    }
    return std::max(pointsPerDecade, static_cast<int32_t>(wanted));
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
