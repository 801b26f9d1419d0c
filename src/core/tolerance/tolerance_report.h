// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "tolerance/tolerance_analysis.h"

#include <string>
#include <vector>

namespace kelvor {

// One quantity per frequency of a tolerance analysis, for tables and CSV. Phases are turned
// back onto the nominal's own scale, [-180, 180) as ComputeResponse gives it, the envelope
// moving with the nominal by whole turns.
struct ToleranceColumn {
    std::string heading; // with its unit: "Gain min (dB)"
    std::vector<long double> values;
};

std::vector<ToleranceColumn> ToleranceColumns(const ToleranceAnalysis& analysis);

// A header row, then one row per frequency; numbers are the shortest text that reads back as
// the same long double. CR LF line ends.
std::string ToleranceCsvText(const ToleranceAnalysis& analysis);

// The same as aligned columns with 5 significant digits, LF line ends, for a terminal.
std::string ToleranceTableText(const ToleranceAnalysis& analysis);

// "nominal 1.0000 kHz, mean 1.0012 kHz, sigma 40.321 Hz, min 907.03 Hz, max 1.1080 kHz
// (500 of 500 runs)", or why there is nothing to say.
std::string SpreadText(const MarkerSpread& marker, int runs);

// "97.400 % (487 of 500 runs inside the mask); the nominal is inside", or "" without a mask.
std::string YieldText(const MaskOutcome& mask, int runs);

} // namespace kelvor
