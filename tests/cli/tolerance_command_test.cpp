// SPDX-License-Identifier: GPL-3.0-or-later
// kelvor-cli tolerance: the per-frequency spread as a table or CSV, the marker spreads, the
// settings of the .tol file beside the Datafile and the options over them.

#include "circuit/sample_datafile.h"
#include "cli/cli.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <sstream>

namespace kelvor::cli {
namespace {

struct Outcome {
    int status;
    std::string out, err;
};

class ToleranceCommandTest : public ::testing::Test {
protected:
    ToleranceCommandTest() { folder.Write("HPFILTER.DAT", SampleDatafileText("7 Dec 2026")); }

    Outcome Tolerance(std::vector<std::string> options) {
        std::vector<std::string> arguments = {
            "tolerance", (folder / "HPFILTER.DAT").string(), "--from", "10", "--to", "10k", "--ppd",
            "10"};
        arguments.insert(arguments.end(), options.begin(), options.end());
        std::ostringstream out, err;
        const int status = RunCli(arguments, out, err);
        return {status, out.str(), err.str()};
    }

    static long Lines(const std::string& text) {
        return std::count(text.begin(), text.end(), '\n');
    }

    testing::TempFolder folder;
};

TEST_F(ToleranceCommandTest, TableOrCsvThenSpreadsAndYieldFromTheToleranceFile) {
    const Outcome table = Tolerance({"--runs", "50"});
    ASSERT_EQ(table.status, kExitOk) << table.err;
    // A title, the heading, the 31 frequencies of the grid and those the nominal curve added,
    // four marker spreads.
    EXPECT_GT(Lines(table.out), 1 + 1 + 31 + 4);
    EXPECT_NE(table.out.find("50 Uniform runs, seed 1, 6 values vary"), std::string::npos);
    EXPECT_NE(table.out.find("\nPeak gain: nominal "), std::string::npos);
    EXPECT_EQ(table.out.find("Mask yield"), std::string::npos);

    // The file sets the seed, the runs and a mask; the options then change the seed and the
    // capacitors' tolerance. The same settings give the same output.
    folder.Write("HPFILTER.tol", "[Tolerances]\r\nRuns = 40\r\nSeed = 3\r\n[Mask]\r\n"
                                 "1k, 10k, -3, 3\r\n");
    const Outcome csv = Tolerance({"--csv", "--seed", "9", "--tol", "C=0%,L=0"});
    ASSERT_EQ(csv.status, kExitOk) << csv.err;
    EXPECT_EQ(Tolerance({"--csv", "--seed", "9", "--tol", "C=0%,L=0"}).out, csv.out);
    EXPECT_EQ(Lines(csv.out), Lines(table.out) - 1 - 4); // the same nominal points
    EXPECT_TRUE(csv.out.starts_with("Frequency (Hz),Gain (dB),Gain min (dB),"));
    const std::string firstRow = csv.out.substr(csv.out.find('\n') + 1);
    EXPECT_EQ(std::count(firstRow.begin(), firstRow.begin() + firstRow.find('\n'), ','), 14);
    EXPECT_NE(csv.err.find("40 Uniform runs, seed 9, 2 values vary"), std::string::npos);
    EXPECT_NE(csv.err.find("Mask yield: 100.00 % (40 of 40 runs inside the mask)"),
              std::string::npos)
        << csv.err;

    // A damaged file is reported, and what it could not give takes the defaults.
    folder.Write("HPFILTER.tol", "[Tolerances]\r\nRuns = many\r\n");
    const Outcome damaged = Tolerance({});
    ASSERT_EQ(damaged.status, kExitOk);
    EXPECT_NE(damaged.err.find("HPFILTER.tol is damaged"), std::string::npos);
    EXPECT_NE(damaged.out.find("500 Uniform runs"), std::string::npos);
}

TEST_F(ToleranceCommandTest, BadOptionsAreUsageErrors) {
    for (const std::vector<std::string>& options :
         std::vector<std::vector<std::string>>{{"--runs", "0"},
                                               {"--runs", "10001"},
                                               {"--seed", "-4"},
                                               {"--tol", "R=100%"},
                                               {"--tol", "Z=1%"},
                                               {"--distribution", "normal"},
                                               {"--ppd", "0"},
                                               {"--mask", "x"}}) {
        const Outcome run = Tolerance(options);
        EXPECT_EQ(run.status, kExitUsage) << options[0] << " " << options.back();
        EXPECT_TRUE(run.out.empty());
    }
}

} // namespace
} // namespace kelvor::cli
