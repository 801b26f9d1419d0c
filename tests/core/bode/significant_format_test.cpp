// SPDX-License-Identifier: GPL-3.0-or-later
#include "bode/significant_format.h"

#include <gtest/gtest.h>

namespace kelvor {
namespace {

TEST(SignificantFormat, FiveDigitsWithAndWithoutPrefix) {
    struct Case {
        long double value;
        const char* unit;
        bool prefix;
        const char* text;
    } cases[] = {
        {1591.5494L, "Hz", true, "1.5915 kHz"},
        {999.996L, "Hz", true, "1.0000 kHz"},
        {999.994L, "Hz", true, "999.99 Hz"},
        {4.7e-5L, "s", true, "47.000 us"},
        {1.2e-16L, "s", true, "0.12000 fs"},
        {2.5e13L, "ohm", true, "25.000 Tohm"},
        {-3.0103L, "dB", false, "-3.0103 dB"},
        {-50000, "dB", false, "-50000 dB"},
        {-0.0301L, "dB", false, "-0.030100 dB"},
        {0, "Hz", true, "0 Hz"},
        {10, "", false, "10.000"},
        {-470e3L, "ohm", true, "-470.00 kohm"},
        {-0.0L, "dB", false, "0 dB"},
        {-3.6e-10L, "deg", false, "-3.6000e-10 deg"},
        {123456.0L, "dB", false, "123456 dB"},
        {2e6L, "dB", false, "2.0000e+06 dB"},
        {1e-300L, "ohm", true, "1.0000e-300 ohm"},
        {1e-4940L, "Hz", true, "1.0000e-4940 Hz"},
        {3e25L, "Hz", true, "3.0000e+25 Hz"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FormatSignificant(c.value, 5, c.unit, c.prefix), c.text);
    }
}

TEST(SignificantFormat, AxisLabelsAreShort) {
    struct Case {
        long double value;
        const char* text;
    } cases[] = {{100000, "100 kHz"},
                 {2.5e-3L, "2.5 mHz"},
                 {1, "1 Hz"},
                 {0, "0 Hz"},
                 {999999.9999L, "1 MHz"},
                 {3e9L, "3 GHz"},
                 {1e-4940L, "1e-4940 Hz"}};
    for (const Case& c : cases) {
        EXPECT_EQ(FormatAxisLabel(c.value, "Hz"), c.text);
    }
}

} // namespace
} // namespace kelvor
