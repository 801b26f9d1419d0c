// SPDX-License-Identifier: GPL-3.0-or-later
// kelvor-cli bode: the points and markers of the Bode analyser as text, CSV and pictures.

#include "circuit/sample_datafile.h"
#include "cli/cli.h"
#include "plot/headless_widgets.h"
#include "support/temp_folder.h"

#include <QImage>
#include <QString>
#include <QSvgRenderer>
#include <algorithm>
#include <gtest/gtest.h>
#include <sstream>

namespace kelvor::cli {
namespace {

struct BodeRun {
    int status;
    std::string out, err;
};

class BodeCommandTest : public ::testing::Test {
protected:
    BodeCommandTest() {
        folder.Write("HPFILTER.DAT", SampleDatafileText("7 Dec 2026"));
        plot::EnsureWidgetApplication();
    }

    BodeRun Bode(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), "bode");
        for (std::string& argument : arguments) {
            if (argument.find('.') != std::string::npos && argument.front() != '-' &&
                !std::isdigit(static_cast<unsigned char>(argument.front()))) {
                argument = (folder / argument).string();
            }
        }
        std::ostringstream out, err;
        const int status = RunCli(arguments, out, err);
        return {status, out.str(), err.str()};
    }

    testing::TempFolder folder;
};

TEST_F(BodeCommandTest, MarkersAsLinesAndPointsAsCsv) {
    const BodeRun text = Bode({"HPFILTER.DAT", "--from", "10", "--to", "100k"});
    ASSERT_EQ(text.status, 0) << text.err;
    EXPECT_NE(text.out.find("Peak gain: "), std::string::npos);
    EXPECT_NE(text.out.find("Q: no band-pass in range\n"), std::string::npos);

    const BodeRun csv =
        Bode({"HPFILTER.DAT", "--from", "10", "--to", "100k", "--ppd", "20", "--csv"});
    ASSERT_EQ(csv.status, 0) << csv.err;
    // Comments, the header, 4 decades x 20 + 1, and points where the lines would stray from
    // the curve.
    EXPECT_GT(std::count(csv.out.begin(), csv.out.end(), '\n'), 3 + 1 + 81);
    EXPECT_TRUE(csv.out.starts_with("# Datafile: HPFILTER.DAT\r\n# Written: "));
    EXPECT_NE(csv.out.find("\r\nFrequency (Hz),Gain (dB),"), std::string::npos);
    EXPECT_EQ(csv.err, text.out); // the markers move to standard error
}

TEST_F(BodeCommandTest, PicturesOfEachKind) {
    ASSERT_EQ(Bode({"HPFILTER.DAT", "--from", "10", "--to", "100k", "--out", "b.png", "--size",
                    "640x480", "--scale", "2"})
                  .status,
              0);
    const QImage png(QString::fromStdString((folder / "b.png").string()));
    EXPECT_EQ(png.size(), QSize(1280, 960));

    ASSERT_EQ(Bode({"HPFILTER.DAT", "--from", "10", "--to", "100k", "--out", "b.svg"}).status, 0);
    EXPECT_TRUE(QSvgRenderer(QString::fromStdString((folder / "b.svg").string())).isValid());
    ASSERT_EQ(Bode({"HPFILTER.DAT", "--from", "10", "--to", "100k", "--out", "b.pdf"}).status, 0);
    EXPECT_TRUE(folder.Read("b.pdf").starts_with("%PDF-"));
}

std::vector<std::vector<std::string>> CsvRows(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    std::istringstream lines(text);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.starts_with("#")) {
            continue; // the comments name the Datafile, which differs
        }
        // Empty cells kept, the last ones too.
        std::vector<std::string> fields(1);
        for (char character : line) {
            if (character == ',') {
                fields.emplace_back();
            } else {
                fields.back() += character;
            }
        }
        rows.push_back(fields);
    }
    return rows;
}

// Each value's column group is the very CSV of a Datafile written with that value by hand; the
// headers name the values.
TEST_F(BodeCommandTest, StepGivesOneColumnGroupPerValue) {
    const std::vector<std::string> range = {"--from", "10", "--to", "10k", "--ppd", "10", "--csv"};
    auto withRange = [&](std::vector<std::string> arguments) {
        arguments.insert(arguments.end(), range.begin(), range.end());
        return Bode(arguments);
    };
    const BodeRun stepped = withRange({"HPFILTER.DAT", "--step", "9=4,16"});
    ASSERT_EQ(stepped.status, 0) << stepped.err;
    const auto steppedRows = CsvRows(stepped.out);
    ASSERT_FALSE(steppedRows.empty());
    const std::size_t group = steppedRows[0].size() / 2;
    const char* values[] = {"4", "16"};
    for (int index = 0; index < 2; ++index) {
        std::string byHand = SampleDatafileText("7 Dec 2026");
        byHand.replace(byHand.find("R  2 5       8.0"), 16,
                       std::string("R  2 5       ") + values[index]);
        folder.Write("BYHAND.DAT", byHand);
        // Each curve takes the points it needs: a shorter one leaves its cells empty below.
        const auto rows = CsvRows(withRange({"BYHAND.DAT"}).out);
        ASSERT_LE(rows.size(), steppedRows.size());
        EXPECT_EQ(steppedRows[0][index * group],
                  std::string("R 2 5 = ") + values[index] + ": Frequency (Hz)");
        for (std::size_t row = 1; row < steppedRows.size(); ++row) {
            ASSERT_EQ(steppedRows[row].size(), 2 * group);
            const std::vector<std::string> part(steppedRows[row].begin() + index * group,
                                                steppedRows[row].begin() + (index + 1) * group);
            const std::vector<std::string> expected =
                row < rows.size() ? rows[row] : std::vector<std::string>(group);
            EXPECT_EQ(part, expected) << values[index] << " row " << row;
        }
    }
    EXPECT_NE(stepped.err.find("R 2 5 = 16\nPeak gain: "), std::string::npos) << stepped.err;

    for (const char* bad : {"9", "9=", "5=1k", "9.2=1k", "9=1k..2k/E6", "x=1"}) {
        const BodeRun run = withRange({"HPFILTER.DAT", "--step", bad});
        EXPECT_NE(run.status, 0) << bad;
        EXPECT_TRUE(run.out.empty()) << bad;
    }
}

TEST_F(BodeCommandTest, BadOptionsWriteNothing) {
    const std::vector<std::vector<std::string>> cases = {
        {"HPFILTER.DAT", "--from", "1k", "--to", "1k"},
        {"HPFILTER.DAT", "--from", "0", "--to", "1k"},
        {"HPFILTER.DAT", "--from", "10", "--to", "1k", "--ppd", "0"},
        {"HPFILTER.DAT", "--from", "10", "--to", "1k", "--ppd", "2001"},
        {"HPFILTER.DAT", "--from", "10", "--to", "1k", "--out", "b.bmp"},
        {"HPFILTER.DAT", "--from", "10", "--to", "1k", "--out", "b.png", "--size", "0x5"},
        {"HPFILTER.DAT", "--from", "10", "--to", "1k", "--out", "b.png", "--size", "10000x10000",
         "--scale", "4"},
        {"HPFILTER.DAT", "--from", "10"},
    };
    for (const auto& arguments : cases) {
        const BodeRun run = Bode(arguments);
        EXPECT_EQ(run.status, kExitUsage) << arguments[2] << " " << arguments.back();
        EXPECT_TRUE(run.out.empty());
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "b.png"));
    EXPECT_FALSE(std::filesystem::exists(folder / "b.bmp"));
    EXPECT_NE(Bode({"HPFILTER.DAT", "--from", "1p", "--to", "1e30"})
                  .err.find("--to: the range may span at most 30 decades"),
              std::string::npos);
}

} // namespace
} // namespace kelvor::cli
