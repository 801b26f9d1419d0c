// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/common/input_checks.h"

#include "bode/bode_grid.h"
#include "text/eng_value.h"
#include "tolerance/tolerance_file.h"
#include "tolerance/tolerance_settings.h"

#include <cmath>
#include <cstdio>

namespace kelvor::app {
namespace {

constexpr const char* kMaskColumns[] = {"From (Hz)", "To (Hz)", "Lowest (dB)", "Highest (dB)"};

std::string Whole(long long value) {
    return std::to_string(value);
}

} // namespace

std::string FrequencyRangeProblem(std::string_view start, std::string_view end) {
    bool startOk = true;
    bool endOk = true;
    const long double from = ParseEngValue(start, startOk);
    const long double to = ParseEngValue(end, endOk);
    if (!startOk) {
        return "Start (Hz): not a number (digits with an optional letter G M k m u n p)";
    }
    if (!(from > 0)) {
        return "Start (Hz): must be above 0";
    }
    if (!endOk) {
        return "End (Hz): not a number (digits with an optional letter G M k m u n p)";
    }
    if (!(to > from)) {
        return "End (Hz): must be above the start";
    }
    if (!ParseFrequencyRange(start, end)) {
        char decades[32];
        std::snprintf(decades, sizeof decades, "%.1Lf", std::log10(to / from));
        return std::string("End (Hz): the range spans ") + decades + " decades; at most " +
               Whole(static_cast<long long>(kMostDecades)) + " are allowed";
    }
    return {};
}

std::string PointsPerDecadeProblem(long long pointsPerDecade) {
    if (pointsPerDecade < 1 || pointsPerDecade > kMostPointsPerDecade) {
        return "Points per decade: from 1 to " + Whole(kMostPointsPerDecade) + ", not " +
               Whole(pointsPerDecade);
    }
    return {};
}

std::string RunsProblem(long long runs) {
    if (runs < 1 || runs > kMostToleranceRuns) {
        return "Runs: from 1 to " + Whole(kMostToleranceRuns) + ", not " + Whole(runs);
    }
    return {};
}

std::string MaskRowProblem(int row, const std::array<std::string, 4>& cells) {
    const std::string where = "Gain mask row " + Whole(row) + ", ";
    // Each cell is read by the .tol file's own rule, with the other cells neutral.
    for (int column = 0; column < 2; ++column) {
        if (!ParseMaskSegment(cells[column], cells[column], "-", "-")) {
            return where + kMaskColumns[column] + ": must be a frequency above 0";
        }
    }
    for (int column = 2; column < 4; ++column) {
        if (!ParseMaskSegment("1", "1", cells[column], "-")) {
            return where + kMaskColumns[column] + ": must be a number in dB, or - for no limit";
        }
    }
    if (!ParseMaskSegment(cells[0], cells[1], "-", "-")) {
        return where + "To (Hz): must not be below From (Hz)";
    }
    if (!ParseMaskSegment(cells[0], cells[1], cells[2], cells[3])) {
        return where + "Highest (dB): must not be below Lowest (dB)";
    }
    return {};
}

} // namespace kelvor::app
