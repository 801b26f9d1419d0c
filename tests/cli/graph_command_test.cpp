// SPDX-License-Identifier: GPL-3.0-or-later
// kelvor-cli graph: the saved picture is the graph window's picture of the same sweep, pixel
// for pixel; bad options and bad Datafiles write nothing.

#include "analysis/scale_proposal.h"
#include "analysis/sweep.h"
#include "circuit/datafile_reader.h"
#include "circuit/sample_datafile.h"
#include "cli/cli.h"
#include "plot/headless_widgets.h"
#include "render/amplitude_graph.h"
#include "render/graph_canvas.h"
#include "solver/response.h"
#include "support/recording_messages.h"
#include "support/temp_folder.h"
#include "text/date_text.h"

#include <QImage>
#include <QString>
#include <gtest/gtest.h>
#include <sstream>

namespace kelvor::cli {
namespace {

struct GraphRun {
    int status;
    std::string out, err;
};

class GraphCommandTest : public ::testing::Test {
protected:
    GraphCommandTest() {
        folder.Write("HPFILTER.DAT", SampleDatafileText("7 Dec 2026"));
        folder.Write("BAD.DAT", "My filter Rev. 1\r\n\r\nNodeIn = 1 NodeOut = 1 NodeCom = 3\r\n"
                                "R 1 3 1k\r\nX 1 2\r\n");
        plot::EnsureWidgetApplication();
    }

    GraphRun Graph(std::vector<std::string> arguments) {
        arguments.insert(arguments.begin(), "graph");
        for (std::string& argument : arguments) {
            if (argument.ends_with(".DAT") || argument.ends_with(".bmp") ||
                argument.ends_with(".png") || argument.ends_with(".jpg")) {
                argument = (folder / argument).string();
            }
        }
        std::ostringstream out, err;
        const int status = RunCli(arguments, out, err);
        return {status, out.str(), err.str()};
    }

    QImage Saved(const std::string& name) const {
        return QImage(QString::fromStdString((folder / name).string()));
    }

    // The sample's sweep drawn directly, as the graph window draws it.
    QImage WindowPicture(const FrequencyScale& scale, int32_t span, int32_t top, bool grid,
                         bool bold, int32_t colour) {
        CircuitState state;
        ParseOutcome outcome = ParseDatafileText(SampleDatafileText("7 Dec 2026"), state, "");
        const LoadedCircuit circuit = MakeLoadedCircuit(std::move(outcome.records), state);
        ResponseSolver solver;
        testing::RecordingMessages messages;
        const SweepResult sweep = RunSweep(scale, circuit, solver, messages);
        render::AmplitudeGraphInput input;
        input.FCode = scale.FCode;
        input.SweepGain = sweep.SweepGain;
        input.UserFreqLabels = sweep.UserFreqLabels;
        input.GraphScale = span;
        input.GraphTop = top;
        input.GridLinesPending = grid;
        input.Bold = bold;
        input.PenColour = colour;
        input.DatafileName = "HPFILTER.DAT";
        input.RevisionNumber = state.RevisionNumber;
        input.TodayText = TodayText();
        QImage picture = render::BlankAmplitudePicture();
        render::DrawAmplitudeGraph(picture, input);
        return picture;
    }

    int FileCount() const {
        int files = 0;
        for ([[maybe_unused]] const auto& entry :
             std::filesystem::directory_iterator(folder.path())) {
            ++files;
        }
        return files;
    }

    testing::TempFolder folder;
};

TEST_F(GraphCommandTest, ProposedScaleAndTheWindowsPixels) {
    const GraphRun run = Graph({"HPFILTER.DAT", "--fcode", "8", "--grid", "--out", "hp.bmp"});
    ASSERT_EQ(run.status, 0) << run.err;
    // The sample's sweep runs from about -38 to +2 dB: span 45 (40 is too small), top 10.
    EXPECT_EQ(run.out, "span_db 45\ntop_db 10\n");
    const QImage saved = Saved("hp.bmp");
    ASSERT_EQ(saved.size(), QSize(703, 531));
    const QImage expected = WindowPicture(SetupFrequencyScale(8, 0, 0), 45, 10, true, false, 0);
    EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), expected);
}

TEST_F(GraphCommandTest, ChosenScaleColourAndBoldAsPng) {
    const GraphRun run = Graph({"HPFILTER.DAT", "--from", "250", "--to", "360", "--span", "25",
                                "--top", "0", "--bold", "--colour", "$FF", "--out", "user.png"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "span_db 25\ntop_db 0\n");
    const QImage saved = Saved("user.png");
    ASSERT_FALSE(saved.isNull());
    const QImage expected =
        WindowPicture(SetupFrequencyScale(0, 250, 360), 25, 0, false, true, render::kRed);
    EXPECT_EQ(saved.convertToFormat(QImage::Format_RGB32), expected);
    int red = 0;
    for (int x = 60; x < 680; ++x) {
        for (int y = 35; y < 531; ++y) {
            red += saved.pixelColor(x, y) == QColor(255, 0, 0) ? 1 : 0;
        }
    }
    EXPECT_GE(red, 2 * 620) << "a bold red curve across the graph";
}

TEST_F(GraphCommandTest, BadOptionsWriteNothing) {
    const std::vector<std::vector<std::string>> cases = {
        {"HPFILTER.DAT", "--fcode", "8"},
        {"HPFILTER.DAT", "--fcode", "8", "--out", "g.jpg"},
        {"HPFILTER.DAT", "--fcode", "8", "--span", "33", "--out", "g.bmp"},
        {"HPFILTER.DAT", "--fcode", "8", "--span", "2x", "--out", "g.bmp"},
        {"HPFILTER.DAT", "--fcode", "8", "--top", "501", "--out", "g.bmp"},
        {"HPFILTER.DAT", "--fcode", "8", "--colour", "16777216", "--out", "g.bmp"},
        {"HPFILTER.DAT", "--fcode", "8", "--colour", "-1", "--out", "g.bmp"},
        {"HPFILTER.DAT", "--fcode", "0", "--out", "g.bmp"},
        {"HPFILTER.DAT", "--from", "360", "--to", "250", "--out", "g.bmp"},
        {"--fcode", "8", "--out", "g.bmp"},
        {"MISSING.DAT", "--fcode", "8", "--out", "g.bmp"},
    };
    for (const auto& arguments : cases) {
        const GraphRun run = Graph(arguments);
        EXPECT_EQ(run.status, 2) << ::testing::PrintToString(arguments);
        EXPECT_FALSE(run.err.empty());
    }
    EXPECT_EQ(FileCount(), 2);
    EXPECT_NE(Graph({"HPFILTER.DAT", "--fcode", "8", "--span", "33", "--out", "g.bmp"})
                  .err.find("--span must be one of"),
              std::string::npos);
}

TEST_F(GraphCommandTest, BadDatafileIsRefused) {
    const GraphRun run = Graph({"BAD.DAT", "--fcode", "8", "--out", "bad.bmp"});
    EXPECT_EQ(run.status, 1);
    EXPECT_EQ(run.err.substr(0, 32), "Cannot Run  -  Error in Datafile");
    EXPECT_EQ(FileCount(), 2);
}

TEST_F(GraphCommandTest, UnwritableOutputIsReported) {
    const GraphRun run = Graph({"HPFILTER.DAT", "--fcode", "8", "--out", "no/such/folder/g.bmp"});
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find("g.bmp : No such file or directory"), std::string::npos) << run.err;
}

} // namespace
} // namespace kelvor::cli
