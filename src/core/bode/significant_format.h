// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>

namespace kelvor {

// A value rounded to `digits` significant digits, then a space and the unit. With an SI prefix
// (f p n u m k M G T) the number lies from 1 to 999.99...: "1.5915 kHz", "47.000 us"; without
// one it is written in fixed notation: "-3.0103 dB", "-50000 dB". A number that would stay below
// 0.001 or reach a million even so takes an exponent and no prefix: "-3.6000e-10 deg",
// "1.0000e-4940 Hz". Zero is "0" plus the unit.
std::string FormatSignificant(long double value, int digits, std::string_view unit,
                              bool withPrefix = true);

// A short axis label: a prefix and the fewest digits the value needs, "100 k", "2.5 m", "0".
std::string FormatAxisLabel(long double value, std::string_view unit);

} // namespace kelvor
