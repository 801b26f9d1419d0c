// SPDX-License-Identifier: GPL-3.0-or-later
#include "tolerance/tolerance_file.h"

#include "support/temp_folder.h"

#include <gtest/gtest.h>

namespace kelvor {
namespace {

using testing::TempFolder;

TEST(ToleranceFile, SitsBesideItsDatafile) {
    EXPECT_EQ(ToleranceFilePath("work/HPFILTER.DAT"), std::filesystem::path("work/HPFILTER.tol"));
    EXPECT_EQ(ToleranceFilePath("amp.v2.dat"), std::filesystem::path("amp.v2.tol"));
}

TEST(ToleranceFile, EverySettingRoundTrips) {
    ToleranceSettings settings = DefaultToleranceSettings();
    settings.kindPercent['R'] = 0.1L;
    settings.kindPercent['A'] = 0;
    settings.kindPercent['C'] = 1.0L / 3; // no short decimal: the text must still read back
    settings.linePercent[ComponentLineKey("R  1 2\t  0.2")] = 0.5L;
    settings.linePercent[ComponentLineKey("C 4 5 50uF = see note")] = 20;
    settings.distribution = ToleranceDistribution::Gaussian;
    settings.runs = 2000;
    settings.seed = 18446744073709551615ULL;
    settings.mask = {
        {10, 100, std::nullopt, -20}, {1e3L, 2.5e4L, -1.5L, 0.7L}, {1e5L, 1e5L, -3, std::nullopt}};

    const TempFolder folder;
    const auto path = folder / "HPFILTER.tol";
    WriteToleranceFile(path, settings, "HPFILTER.DAT");
    const ToleranceFileReading read = ReadToleranceFile(path);
    EXPECT_EQ(read.problem, "");
    EXPECT_EQ(read.settings, settings);

    const ToleranceFileReading missing = ReadToleranceFile(folder / "NONE.tol");
    EXPECT_EQ(missing.problem, "");
    EXPECT_EQ(missing.settings, DefaultToleranceSettings());
}

// A byte-order mark before the first section is no damage; a name that cannot be read (a
// link round in a loop) is reported, as only a name with nothing under it means defaults.
TEST(ToleranceFile, ByteOrderMarkReadsAndALinkLoopIsReported) {
    const ToleranceFileReading marked =
        ParseToleranceFileText("\xEF\xBB\xBF[Tolerances]\r\nC = 7%\r\n", "A.tol");
    EXPECT_EQ(marked.problem, "");
    EXPECT_EQ(marked.settings.kindPercent.at('C'), 7);

    const TempFolder folder;
    std::filesystem::create_symlink("LOOP.tol", folder / "LOOP.tol");
    const ToleranceFileReading loop = ReadToleranceFile(folder / "LOOP.tol");
    EXPECT_NE(loop.problem.find("LOOP.tol"), std::string::npos) << loop.problem;
    EXPECT_EQ(loop.settings, DefaultToleranceSettings());
}

TEST(ToleranceFile, DamagedLinesNamedAndTheirSettingsDefault) {
    struct Case {
        const char* text;
        const char* named; // in the message
    } cases[] = {
        {"[Tolerances]\r\nR = 1 percent\r\nC = 7%\r\n", "line 2"},
        {"[Tolerances]\r\nC = 7%\r\nR = 100%\r\n", "line 3"},
        {"[Tolerances]\r\nC = 7%\r\nRuns = 0\r\n", "line 3"},
        {"[Tolerances]\r\nC = 7%\r\nSeed = -1\r\n", "line 3"},
        {"[Tolerances]\r\nC = 7%\r\nDistribution = normal\r\n", "line 3"},
        {"[Tolerances]\r\nC = 7%\r\nX = 5%\r\n", "line 3"},
        {"[Tolerances]\r\nC = 7%\r\n[Extras]\r\n", "line 3"},
        {"R = 2%\r\n[Tolerances]\r\nC = 7%\r\n", "line 1"},
        {"[Tolerances]\r\nC = 7%\r\n[Mask]\r\n100, 10, -1, 1\r\n",
         "line 4: Gain mask row 1, To (Hz): must not be below From"},
        {"[Tolerances]\r\nC = 7%\r\n[Mask]\r\n10, 100, 1, -1\r\n",
         "line 4: Gain mask row 1, Highest (dB): must not be below Lowest"},
        {"[Tolerances]\r\nC = 7%\r\n[Mask]\r\n10, 100, -1\r\n", "line 4: gain mask row 1 is"},
        {"[Tolerances]\r\nC = 7%\r\n[Mask]\r\n\r\n10, 100, 3 dB, -\r\n",
         "line 5: Gain mask row 1, Lowest (dB): \"3 dB\" is not a number"},
        {"[Tolerances]\r\nC = 7%\r\n[Mask]\r\n10, 100, -, 1e9999\r\n",
         "line 4: Gain mask row 1, Highest (dB): \"1e9999\" is not a number"},
        {"[Tolerances]\r\nC = 7%\r\n[Mask]\r\n0, 100, -, 1\r\n",
         "line 4: Gain mask row 1, From (Hz): \"0\" is not a frequency above 0"},
        {"[Tolerances]\r\nC = 7%\r\nRuns = 20000\r\n", "line 3: Runs: 20000 is outside"},
        {"[Tolerances]\r\nC = 7%\r\n[Overrides]\r\nR 1 2 0.2\r\n", "line 4"},
        {"[Tolerances]\r\nC = 7%\r\n\x01\x02\xff garbage\r\n", "line 3"},
    };
    for (const Case& c : cases) {
        const ToleranceFileReading read = ParseToleranceFileText(c.text, "A.tol");
        EXPECT_NE(read.problem.find("A.tol is damaged"), std::string::npos) << c.text;
        EXPECT_NE(read.problem.find(c.named), std::string::npos) << c.text << read.problem;
        ToleranceSettings expected = DefaultToleranceSettings();
        expected.kindPercent['C'] = 7; // the good line is still taken
        EXPECT_EQ(read.settings, expected) << c.text;
    }

    // A file of nothing but damage names its first lines and counts the rest.
    std::string garbage;
    for (int line = 0; line < 40; ++line) {
        garbage += "\x7f\x45LF\x02\x01\x01\r\n";
    }
    const ToleranceFileReading read = ParseToleranceFileText(garbage, "A.tol");
    EXPECT_NE(read.problem.find("and 35 more"), std::string::npos) << read.problem;
    EXPECT_EQ(read.settings, DefaultToleranceSettings());
}

TEST(ToleranceSettings, PercentagesAndKindLists) {
    struct Percent {
        const char* text;
        std::optional<long double> value;
    } percents[] = {{"1%", 1},        {" 0.5 % ", 0.5L}, {"2", 2},    {"0", 0},
                    {"99.9%", 99.9L}, {"100%", {}},      {"-1%", {}}, {"", {}},
                    {"%", {}},        {"5k%", {}},       {"1e1%", 10}};
    for (const Percent& c : percents) {
        EXPECT_EQ(ParsePercent(c.text), c.value) << c.text;
    }

    struct List {
        const char* text;
        bool ok;
        long double r, c;
    } lists[] = {
        {"R=0.1%,C=2%", true, 0.1L, 2}, {"r = 3 , c=4", true, 3, 4}, {"", true, 1, 5},
        {"R=1%,Q=5%", false, 1, 5},     {"R=1%,C", false, 1, 5},     {"R=1%,C=150%", false, 1, 5}};
    for (const List& c : lists) {
        ToleranceSettings settings = DefaultToleranceSettings();
        EXPECT_EQ(!ApplyKindTolerances(c.text, settings).has_value(), c.ok) << c.text;
        EXPECT_EQ(settings.kindPercent['R'], c.r) << c.text; // a bad list changes nothing
        EXPECT_EQ(settings.kindPercent['C'], c.c) << c.text;
    }
}

} // namespace
} // namespace kelvor
