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
    EXPECT_EQ(std::count(csv.out.begin(), csv.out.end(), '\n'),
              1 + 81); // header, 4 decades x 20 + 1
    EXPECT_TRUE(csv.out.starts_with("Frequency (Hz),Gain (dB),"));
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
}

} // namespace
} // namespace kelvor::cli
