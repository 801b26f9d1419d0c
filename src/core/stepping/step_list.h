// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string_view>
#include <vector>

namespace kelvor {

// A stepped value gives one curve each; this many hold one decade of E24, both ends included,
// and keep the work bounded.
inline constexpr int kMostStepValues = 25;

enum class StepSeries { E12, E24 };

// The values of a step list, as the user writes it:
//   1k,2.2k,4.7k   the values given, in that order
//   1k..10k/5      5 values evenly spaced, both ends included
//   1k..10k/log5   5 values evenly spaced in log, both ends included
//   1k..10k/E12    the E12 (or E24) values from the first to the second, both included
// Every value is above 0, in engineering syntax. Throws KelvorError saying what is wrong.
std::vector<long double> ParseStepList(std::string_view text);

// The standard series values from `low` to `high` (both > 0), rising.
std::vector<long double> SeriesValues(StepSeries series, long double low, long double high);

} // namespace kelvor
