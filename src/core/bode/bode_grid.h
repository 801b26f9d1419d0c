// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kelvor {

inline constexpr int32_t kDefaultPointsPerDecade = 100;
inline constexpr int32_t kMostPointsPerDecade = 2000;

// The message of a start or end frequency that cannot make a range, as the amplitude sweep has it.
inline constexpr const char* kInvalidFrequenciesMessage = " Invalid Frequencies    ";

struct FrequencyRange {
    long double start = 0;
    long double end = 0;
};

// At most this many decades, so that a range at the most points per decade stays a list of tens
// of thousands of points.
inline constexpr long double kMostDecades = 30;

struct FrequencyRangeReading {
    std::optional<FrequencyRange> range;
    std::string problem; // why there is no range: "End (Hz): must be above the start"
};

// Start and end in engineering syntax; a range only when both read, start > 0, end > start and
// the range spans at most kMostDecades. The problem names the box (or option) that holds the
// fault by `startName` or `endName`.
FrequencyRangeReading ReadFrequencyRange(std::string_view start, std::string_view end,
                                         std::string_view startName, std::string_view endName);

// ReadFrequencyRange's range alone.
std::optional<FrequencyRange> ParseFrequencyRange(std::string_view start, std::string_view end);

// Why a number of points per decade cannot be taken, or nothing when it lies from 1 to
// kMostPointsPerDecade; `name` names the box or option.
std::optional<std::string> PointsPerDecadeProblem(long long pointsPerDecade, std::string_view name);

// The density at which a part of a computed range (the view a user zoomed to) gets as many
// points as the whole range had at `pointsPerDecade`, so that zooming in and computing again
// shows more detail; never below `pointsPerDecade` nor above kMostPointsPerDecade.
int32_t PointsPerDecadeForView(const FrequencyRange& computed, const FrequencyRange& view,
                               int32_t pointsPerDecade);

// Log-spaced frequencies from start to end, both included, equally spaced in log frequency with
// at least `pointsPerDecade` points per decade (1 to kMostPointsPerDecade): the span is cut into
// the whole number of steps that is next above decades x pointsPerDecade.
std::vector<long double> LogFrequencyGrid(const FrequencyRange& range, int32_t pointsPerDecade);

} // namespace kelvor
