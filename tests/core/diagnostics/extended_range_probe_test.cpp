// SPDX-License-Identifier: GPL-3.0-or-later
#include "diagnostics/extended_range_probe.h"

#include <cmath>
#include <cstdlib>
#include <gtest/gtest.h>

namespace kelvor {
namespace {

// Reference: -16382 x 20 x log10(2) to 40 digits (Python's decimal module).
constexpr long double kSmallestNormalDb = -98629.46777934679879982941146753289529033L;
// One unit in the last place of an extended value between 2^16 and 2^17.
const long double kUlpNear98629 = std::ldexp(1.0L, 16 - 63);

TEST(ExtendedRangeProbe, ExactAtTheTopAndWithinOneUnitAtTheBottom) {
    const std::string text = ExtendedRangeProbeText();
    const size_t gap = text.find("  ");
    ASSERT_NE(gap, std::string::npos) << text;
    EXPECT_EQ(text.substr(0, gap), "-5000");
    const std::string second = text.substr(gap + 2);
    const long double value = std::strtold(second.c_str(), nullptr);
    EXPECT_LE(std::fabs(value - kSmallestNormalDb), kUlpNear98629) << second;
}

} // namespace
} // namespace kelvor
