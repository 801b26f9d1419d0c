// SPDX-License-Identifier: GPL-3.0-or-later
#include "text/number_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace kelvor {
namespace {

struct FormatCase {
    long double value;
    const char* expected;
};

TEST(NumberFormat, Scientific23) {
    const FormatCase cases[] = {
        {0.2L, " 2.00000000000000E-0001"},
        {0.0L, " 0.00000000000000E+0000"},
        {-0.0L, " 0.00000000000000E+0000"},
        {-1234.5L, "-1.23450000000000E+0003"},
        {1e-16L, " 1.00000000000000E-0016"},
        {9.99e14L, " 9.99000000000000E+0014"},
        // Rounding to 15 digits carries into the exponent.
        {9.9999999999999999L, " 1.00000000000000E+0001"},
        {1e4000L, " 1.00000000000000E+4000"},
        {-3.6e-4000L, "-3.60000000000000E-4000"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatScientific23(c.value), c.expected) << static_cast<double>(c.value);
    }
}

TEST(NumberFormat, ExponentForm) {
    const long double twoPi = 2.0L * std::acos(-1.0L);
    EXPECT_EQ(FormatExponent(twoPi * 1000.0L, 18, 4), "6.28318530717958648E+0003");
    EXPECT_EQ(FormatExponent(-twoPi * 1000.0L, 14, 4), "-6.2831853071796E+0003");
    EXPECT_EQ(FormatExponent(-0.5L, 14, 4), "-5.0000000000000E-0001");
    EXPECT_EQ(FormatExponent(0.0L, 14, 4), "0.0000000000000E+0000");
    EXPECT_EQ(FormatExponent(12345.0L, 3, 2), "1.23E+04");
    EXPECT_EQ(FormatExponent(99999.0L, 3, 0), "1.00E+5");
    EXPECT_EQ(FormatExponent(1e100L, 1, 4), "1E+0100");
    EXPECT_EQ(FormatExponent(-50000.0L, 14, 4), "-5.0000000000000E+0004");
    EXPECT_EQ(FormatExponent(std::numeric_limits<long double>::quiet_NaN(), 14, 4), "NAN");
    EXPECT_EQ(FormatExponent(-std::numeric_limits<long double>::infinity(), 14, 4), "-INF");
}

TEST(NumberFormat, FixedRoundsHalfAwayFromZeroAndFallsBackToExponent) {
    const struct {
        long double value;
        int precision, decimals;
        const char* expected;
    } cases[] = {
        {-6.0205999L, 10, 3, "-6.021"},
        {0.0004L, 10, 3, "0.000"},
        {-0.0004L, 10, 3, "0.000"},
        {2.125L, 10, 2, "2.13"},
        {-2.125L, 10, 2, "-2.13"},
        {2.5L, 10, 0, "3"},
        {0.5L, 10, 0, "1"},
        {179.95L, 7, 1, "180.0"},
        {-179.96L, 7, 1, "-180.0"},
        {9999.96L, 4, 1, "10000.0"},
        {0.0L, 10, 3, "0.000"},
        {1e-300L, 10, 3, "0.000"},
        {123456789012.0L, 10, 3, "1.234567890E+11"},
        {1234567.0L, 7, 1, "1234567.0"},
        {12345678.0L, 7, 1, "1.234568E+7"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatFixed(c.value, c.precision, c.decimals), c.expected)
            << static_cast<double>(c.value);
    }
    EXPECT_EQ(FormatFixed(std::numeric_limits<long double>::infinity(), 10, 3), "INF");
}

TEST(NumberFormat, FixedWidthRightAligns) {
    const struct {
        long double value;
        int width, decimals;
        const char* expected;
    } cases[] = {
        {999.7L, 10, 0, "      1000"}, {1.0L, 10, 2, "      1.00"},
        {-3.14159L, 8, 2, "   -3.14"}, {123456.789L, 4, 1, "123456.8"},
        {0.0L, 10, 2, "      0.00"},   {0.96L, 3, 0, "  1"},
        {0.0996L, 5, 2, " 0.10"},      {1e20L, 0, 2, "100000000000000000000.00"},
        {12.25L, 10, 1, "      12.3"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatFixedWidth(c.value, c.width, c.decimals), c.expected)
            << static_cast<double>(c.value);
    }
    EXPECT_EQ(FormatFixedWidth(std::numeric_limits<long double>::quiet_NaN(), 6, 2), "   Nan");
}

} // namespace
} // namespace kelvor
