// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/engineering_format.h"

#include "support/recording_messages.h"

#include <gtest/gtest.h>

#include <limits>

namespace kelvor {
namespace {

using testing::RecordingMessages;

TEST(EngineeringFormat, ThreeDigitsAndPrefix) {
    const struct {
        long double value;
        const char* expected;
    } cases[] = {
        {999.7L, "      1.00k"}, // rounds to 1000, then moves to the next prefix
        {0.123L, "       123m"},
        {0.0123L, "      12.3m"},
        {1e-16L, "      0.00 "}, // below the zero threshold
        {5e15L, "       999T"},  // clamped
        {-5e15L, "      -999T"},
        {-999.7L, "     -1.00k"},
        {47.5L, "      47.5 "},
        {1.0L, "      1.00 "},
        {0.0L, "      0.00 "},
        {999.4L, "       999 "},
        {99.96L, "       100 "},
        {1000.0L, "      1.00k"},
        {4700.0L, "      4.70k"},
        {2.2e6L, "      2.20M"},
        {1.2345e11L, "       123G"},
        {3.3e-9L, "      3.30n"},
        {1e-12L, "      1.00p"},
        {1e-14L, "      0.01p"},
        {5.01e-15L, "      0.01p"}, // the smallest value that is not zero
        {5.0e-15L, "      0.00 "},
        {9.9996e-4L, "      1.00m"}, // 1000u becomes 1.00m
        {2.125e3L, "      2.13k"},
        {std::numeric_limits<long double>::infinity(), "       999T"},
        {-std::numeric_limits<long double>::infinity(), "      -999T"},
    };
    for (const auto& c : cases) {
        RecordingMessages messages;
        EXPECT_EQ(FormatEngineering(c.value, messages), c.expected) << static_cast<double>(c.value);
        EXPECT_TRUE(messages.entries.empty()) << static_cast<double>(c.value);
    }
}

TEST(EngineeringFormat, NotANumberWarnsTwiceAndStillGivesText) {
    RecordingMessages messages;
    const std::string text =
        FormatEngineering(std::numeric_limits<long double>::quiet_NaN(), messages);
    EXPECT_EQ(text, "      0.00 ");
    ASSERT_EQ(messages.entries.size(), 2u);
    EXPECT_EQ(messages.entries[0].kind, RecordingMessages::Entry::Warning);
    EXPECT_EQ(messages.entries[0].text, " WARNING #1 : IER = 3");
    EXPECT_EQ(messages.entries[1].kind, RecordingMessages::Entry::Warning);
    EXPECT_EQ(messages.entries[1].text, " WARNING #2 : IER = 8");
}

} // namespace
} // namespace kelvor
