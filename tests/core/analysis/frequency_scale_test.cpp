// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/frequency_scale.h"

#include "text/int_helpers.h"

#include <gtest/gtest.h>

#include <clocale>
#include <string>

namespace kelvor {
namespace {

// The frequency at a fractional column, where the nominal ends of the even scales fall.
double At(const FrequencyScale& scale, long double column) {
    return static_cast<double>(scale.BaseFrequency *
                               Power10((column / 8 - scale.ColumnOffset) / scale.DecadeWidth));
}

struct ColumnCase {
    int fcode;
    long double column;
    double hertz;
    double relative;
};

TEST(FrequencyScale, ColumnsOfTheFixedScales) {
    const ColumnCase cases[] = {
        // The nominal ends of the even scales lie near the columns 41.2 and 617.2.
        {8, 44, 101.1, 1e-3},  {8, 41.2L, 100, 1e-4},  {8, 617.2L, 1000, 1e-4},
        {8, 23, 93.0, 1e-3},   {8, 642, 1104, 1e-3},   {7, 44, 30, 1e-15},
        {7, 620, 300, 1e-15},  {41, 620, 2771, 1e-3},  {41, 624, 3000, 1e-15},
        {2, 28, 0.0949, 1e-3}, {2, 41.2L, 0.1, 1e-4},  {2, 617.2L, 1.0, 1e-4},
        {1, 44, 0.03, 1e-15},  {21, 44, 300e6, 1e-15}, {22, 620, 3.0, 1e-15},
        {32, 620, 30, 1e-15},  {48, 44, 1, 1e-15},     {48, 620, 1e6, 1e-15},
        {52, 44, 1e4, 1e-15},  {52, 620, 1e10, 1e-15},
    };
    for (const ColumnCase& c : cases) {
        const FrequencyScale scale = SetupFrequencyScale(c.fcode, 0, 0);
        EXPECT_NEAR(At(scale, c.column), c.hertz, c.hertz * c.relative)
            << "FCode " << c.fcode << " column " << static_cast<double>(c.column);
    }
    EXPECT_EQ(ColumnFrequency(SetupFrequencyScale(7, 0, 0), 44),
              At(SetupFrequencyScale(7, 0, 0), 44));
}

TEST(FrequencyScale, UserDefinedRangeEndsOnItsColumns) {
    const FrequencyScale scale = SetupFrequencyScale(0, 250, 360);
    EXPECT_EQ(scale.BaseFrequency, 250);
    EXPECT_EQ(scale.EndFrequency, 360);
    EXPECT_EQ(ColumnFrequency(scale, 44), 250);
    EXPECT_NEAR(static_cast<double>(ColumnFrequency(scale, 620)), 360, 1e-12);
    const std::string labels = BuildUserFreqLabels(scale);
    EXPECT_EQ(labels.substr(0, 7), " 250   ");
    EXPECT_LE(labels.size(), 89u);
    EXPECT_NE(labels.find(" 360  "), std::string::npos);
}

// Every column, including those beyond both ends, must be a finite frequency above 0.
TEST(FrequencyScale, UserRangesAreSweptOnlyWithinTheNumberRange) {
    const struct {
        long double start, end;
        bool sweepable;
    } cases[] = {
        {250, 360, true},  {1e-2000L, 1e2000L, true},  {0, 360, false},      {1000, 1000, false},
        {360, 250, false}, {1e-4900L, 1e4900L, false}, {1e-4940L, 1, false}, {1, 1e4930L, false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsSweepableUserRange(c.start, c.end), c.sweepable) << c.start << " " << c.end;
    }
}

TEST(FrequencyLabel, SixCharactersWithPrefix) {
    const std::pair<long double, const char*> cases[] = {
        {250, " 250  "},    {1000, " 1.00k"},  {0.03L, "0.030 "},
        {999.9L, " 1.00k"}, {12.5L, " 12.5 "}, {2.5e6L, " 2.50M"},
        {300e6L, " 300M "}, {1e9L, " 1.00G"},  {999.999e6L, " 1.00G"},
    };
    for (const auto& [hertz, label] : cases) {
        EXPECT_EQ(FormatFrequency(hertz), label) << static_cast<double>(hertz);
    }
}

TEST(FrequencyLabel, IgnoresTheProcessLocale) {
    // The label text is read back with its point even where the locale has a decimal comma.
    const char* previous = std::setlocale(LC_NUMERIC, nullptr);
    const std::string saved = previous ? previous : "C";
    if (!std::setlocale(LC_NUMERIC, "de_DE.UTF-8") && !std::setlocale(LC_NUMERIC, "fr_FR.UTF-8")) {
        GTEST_SKIP() << "no locale with a decimal comma installed";
    }
    const std::string label = FormatFrequency(12.5L);
    const std::string small = FormatFrequency(0.03L);
    std::setlocale(LC_NUMERIC, saved.c_str());
    EXPECT_EQ(label, " 12.5 ");
    EXPECT_EQ(small, "0.030 ");
}

} // namespace
} // namespace kelvor
