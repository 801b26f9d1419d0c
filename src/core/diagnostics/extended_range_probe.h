// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>

namespace kelvor {

// The shortest decimal text that reads back as exactly this extended value.
std::string ShortestDecimalText(long double value);

// Two decibel values near the bottom of the extended range, joined by two spaces:
// 20 log10(1e-250), which must come out as exactly -5000, and 20 log10 of the smallest
// positive normal extended value. A library whose logarithm or number conversion works in
// double precision gets one of them wrong, which is what the diagnostic is there to show.
std::string ExtendedRangeProbeText();

} // namespace kelvor
