// SPDX-License-Identifier: GPL-3.0-or-later
// kelvor-cli noise and sensitivity: the CSV columns and what they add up to, the summary lines,
// the settings file beside the Datafile, and bad options.

#include "circuit/sample_datafile.h"
#include "cli/cli.h"
#include "support/temp_folder.h"

#include <algorithm>
#include <cmath>
#include <gtest/gtest.h>
#include <regex>
#include <sstream>

namespace kelvor::cli {
namespace {

struct Outcome {
    int status;
    std::string out, err;
};

std::vector<std::string> Split(const std::string& text, char separator) {
    std::vector<std::string> parts;
    std::stringstream stream(text);
    for (std::string part; std::getline(stream, part, separator);) {
        parts.push_back(part);
    }
    return parts;
}

class NoiseCommandTest : public ::testing::Test {
protected:
    NoiseCommandTest() { folder.Write("HPFILTER.DAT", SampleDatafileText("7 Dec 2026")); }

    Outcome Run(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin() + 1, (folder / "HPFILTER.DAT").string());
        std::ostringstream out, err;
        const int status = RunCli(arguments, out, err);
        return {status, out.str(), err.str()};
    }

    testing::TempFolder folder;
};

TEST_F(NoiseCommandTest, CsvColumnsAddUpAndTheSummaryFollows) {
    const Outcome csv = Run({"noise", "--from", "100", "--to", "10k", "--ppd", "5", "--csv",
                             "--reference", "1", "--weighting", "a"});
    ASSERT_EQ(csv.status, kExitOk) << csv.err;
    const std::vector<std::string> rows = Split(csv.out, '\n');
    ASSERT_EQ(rows.size(), 1u + 11u);
    const std::vector<std::string> heading = Split(rows[0], ',');
    ASSERT_GT(heading.size(), 4u);
    EXPECT_EQ(std::vector<std::string>(heading.begin(), heading.begin() + 4),
              (std::vector<std::string>{"Frequency (Hz)", "Output noise (V/rtHz)",
                                        "Input noise (V/rtHz)", "Gain (dB)"}));
    for (std::size_t column = 4; column < heading.size(); ++column) {
        EXPECT_TRUE(
            std::regex_match(heading[column], std::regex("Line \\d+ [A-Z] .+ \\(V/rtHz\\)")))
            << heading[column];
    }
    for (std::size_t row = 1; row < rows.size(); ++row) {
        const std::vector<std::string> cells = Split(rows[row], ',');
        ASSERT_EQ(cells.size(), heading.size());
        long double squares = 0;
        for (std::size_t column = 4; column < cells.size(); ++column) {
            squares += std::pow(std::stold(cells[column]), 2.0L);
        }
        EXPECT_NEAR(static_cast<double>(std::sqrt(squares) / std::stold(cells[1])), 1, 1e-15);
    }
    const std::regex summary("Output noise: \\d\\.\\d{4}e-\\d\\d V rms\n"
                             "Input noise: \\d\\.\\d{4}e-\\d\\d V rms\n"
                             "SNR: [0-9.]+ dB\nContributors:\n1\\. Line ");
    const std::size_t firstContributor = csv.err.find("1. Line ");
    ASSERT_NE(firstContributor, std::string::npos) << csv.err;
    EXPECT_TRUE(std::regex_match(csv.err.substr(0, firstContributor + 8), summary)) << csv.err;

    // The text form prints the summary alone; the settings file changes the temperature.
    const Outcome text = Run({"noise", "--from", "100", "--to", "10k"});
    ASSERT_EQ(text.status, kExitOk) << text.err;
    EXPECT_TRUE(text.out.starts_with("Output noise: ")) << text.out;
    folder.Write("HPFILTER.noi", "[Noise]\r\nTemperature = 127\r\n");
    const Outcome hotter = Run({"noise", "--from", "100", "--to", "10k"});
    EXPECT_NE(hotter.out.substr(0, 30), text.out.substr(0, 30));
    EXPECT_EQ(Run({"noise", "--from", "100", "--to", "10k", "--temp", "27"}).out, text.out);
}

TEST_F(NoiseCommandTest, SensitivityTableIsRankedByGain) {
    const Outcome csv = Run({"sensitivity", "--at", "1k", "--csv"});
    ASSERT_EQ(csv.status, kExitOk) << csv.err;
    const std::vector<std::string> rows = Split(csv.out, '\n');
    EXPECT_EQ(rows[0], "Line,Component,Value,Gain (dB/%),Phase (deg/%)");
    ASSERT_GT(rows.size(), 2u);
    long double previous = INFINITY;
    for (std::size_t row = 1; row < rows.size(); ++row) {
        const std::vector<std::string> cells = Split(rows[row], ',');
        ASSERT_EQ(cells.size(), 5u) << rows[row];
        const long double gain = std::fabs(std::stold(cells[3]));
        EXPECT_LE(gain, previous);
        previous = gain;
    }
}

TEST_F(NoiseCommandTest, BadOptionsAreUsageErrors) {
    for (const std::vector<std::string>& arguments : std::vector<std::vector<std::string>>{
             {"noise", "--from", "100"},
             {"noise", "--from", "100", "--to", "1k", "--weighting", "c"},
             {"noise", "--from", "100", "--to", "1k", "--band", "1k"},
             {"noise", "--from", "100", "--to", "1k", "--temp", "-300"},
             {"noise", "--from", "100", "--to", "1k", "--reference", "0"},
             {"sensitivity"},
             {"sensitivity", "--at", "0"}}) {
        EXPECT_EQ(Run(arguments).status, kExitUsage) << arguments.back();
    }
    // A source line that is no resistor is refused with a message.
    const Outcome notResistor = Run({"noise", "--from", "100", "--to", "1k", "--source-line", "1"});
    EXPECT_EQ(notResistor.status, kExitUsage);
    EXPECT_NE(notResistor.err.find("is no resistor"), std::string::npos) << notResistor.err;
}

} // namespace
} // namespace kelvor::cli
