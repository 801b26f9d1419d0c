// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagnostics/extended_range_probe.h"

#include <array>
#include <charconv>
#include <cmath>
#include <limits>

namespace kelvor {

std::string ShortestDecimalText(long double value) {
    std::array<char, 64> buffer{};
    const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
    return std::string(buffer.data(), result.ptr);
}

namespace {

// The extended value nearest 1e-250 lies within 1e-270 of it, so 20 log10 of it rounds to
// exactly -5000. The C library's log10l lands one unit in the last place off there; the base-2
// logarithm scaled by log10(2) rounds correctly at both ends of the range.
long double Log10(long double x) {
    constexpr long double kLog10Of2 = 0.301029995663981195213738894724493027L;
    return std::log2(x) * kLog10Of2;
}

} // namespace

std::string ExtendedRangeProbeText() {
    const long double tiny = 1e-250L;
    const long double smallestNormal = std::numeric_limits<long double>::min();
    return ShortestDecimalText(20.0L * Log10(tiny)) + "  " +
           ShortestDecimalText(20.0L * Log10(smallestNormal));
}

} // namespace kelvor
