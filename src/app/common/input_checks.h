// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <string>
#include <string_view>

// What is wrong with a value typed into the analyser or its tolerance panel, in words that name
// the box and the reason; empty when the value is good. One function per check, so that each
// window asks the same question the same way.
namespace kelvor::app {

// "Start (Hz)" and "End (Hz)" as the analyser's boxes hold them.
std::string FrequencyRangeProblem(std::string_view start, std::string_view end);
std::string PointsPerDecadeProblem(long long pointsPerDecade);
std::string RunsProblem(long long runs);
// One row of the gain mask (From, To, Lowest, Highest), numbered from 1 as the table shows it.
std::string MaskRowProblem(int row, const std::array<std::string, 4>& cells);

} // namespace kelvor::app
