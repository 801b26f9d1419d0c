// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>

namespace kelvor {

inline constexpr int kFirstSweepColumn = 23;
inline constexpr int kLastSweepColumn = 642;
inline constexpr int kSweepColumns = kLastSweepColumn - kFirstSweepColumn + 1; // 620
inline constexpr int kHighestFCode = 52;

// The frequency of column n is BaseFrequency * 10^((n / 8 - ColumnOffset) / DecadeWidth).
struct FrequencyScale {
    int32_t FCode = 8;
    long double BaseFrequency = 0;
    long double DecadeWidth = 0;
    long double ColumnOffset = 0;
    long double EndFrequency = 0; // user-defined range only
    // The frequency of every column 23..642, worked out once by SetupFrequencyScale: a power
    // of ten costs more than solving a small circuit.
    std::shared_ptr<const std::array<long double, kSweepColumns>> columnFrequencies;
};

// Derives the scale parameters from FCode (1..52) or, for FCode 0, from the user's start and
// end frequency (start > 0, end > start), and the column frequencies. Other FCodes are not
// scales: callers refuse them.
FrequencyScale SetupFrequencyScale(int32_t fcode, long double userStart, long double userEnd);

long double ColumnFrequency(const FrequencyScale& scale, int column);

// A range of the user's own can be swept when the start is above 0, the end above the start,
// and the frequency of every column (the graph reaches a little beyond both ends) is a finite
// number above 0.
bool IsSweepableUserRange(long double start, long double end);

// A six-character frequency label: " 250  ", " 1.00k", "0.030 ".
std::string FormatFrequency(long double frequency);

// The row of seven labels at columns 44, 140, ..., 620 of a user-defined scale, at most 89
// characters.
std::string BuildUserFreqLabels(const FrequencyScale& scale);

inline constexpr std::array<int, 7> kUserLabelColumns = {44, 140, 236, 332, 428, 524, 620};

} // namespace kelvor
