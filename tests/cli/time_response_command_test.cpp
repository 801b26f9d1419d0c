// SPDX-License-Identifier: GPL-3.0-or-later
// kelvor-cli square and pulse: the saved picture is the one the graph window draws from the
// same harmonics; the gain limits and bad options behave as the windows do.

#include "circuit/datafile_reader.h"
#include "circuit/sample_datafile.h"
#include "cli/cli.h"
#include "plot/headless_widgets.h"
#include "render/graph_canvas.h"
#include "render/time_response_graph.h"
#include "solver/response.h"
#include "support/recording_messages.h"
#include "support/temp_folder.h"
#include "text/date_text.h"
#include "timeresp/graph_gain.h"
#include "timeresp/harmonic_solve.h"

#include <QImage>
#include <QString>
#include <gtest/gtest.h>
#include <sstream>

namespace kelvor::cli {
namespace {

struct CliRun {
    int status;
    std::string out, err;
};

class TimeResponseCommandTest : public ::testing::Test {
protected:
    TimeResponseCommandTest() {
        folder.Write("HPFILTER.DAT", SampleDatafileText("7 Dec 2026"));
        // Nothing reaches the output node 2.
        folder.Write("OPEN.DAT", "Open Rev. 4 7 Dec 2026\r\n\r\nNodeIn = 1 NodeOut = 2 "
                                 "NodeCom = 3\r\nR 1 3 1k\r\nR 2 3 1k\r\n");
        plot::EnsureWidgetApplication();
    }

    CliRun Cli(std::vector<std::string> arguments) {
        for (std::string& argument : arguments) {
            if (argument.ends_with(".DAT") || argument.ends_with(".bmp") ||
                argument.ends_with(".png")) {
                argument = (folder / argument).string();
            }
        }
        std::ostringstream out, err;
        const int status = RunCli(arguments, out, err);
        return {status, out.str(), err.str()};
    }

    QImage Saved(const std::string& name) const {
        return QImage(QString::fromStdString((folder / name).string()))
            .convertToFormat(QImage::Format_RGB32);
    }

    // The sample's harmonics drawn directly, as the windows draw them.
    QImage WindowPicture(TimeResponseKind kind, int32_t groups, long double fundamental,
                         const std::string& valueText, bool bold, int32_t box) {
        CircuitState state;
        ParseOutcome outcome = ParseDatafileText(SampleDatafileText("7 Dec 2026"), state, "");
        const LoadedCircuit circuit = MakeLoadedCircuit(std::move(outcome.records), state);
        ResponseSolver solver;
        testing::RecordingMessages messages;
        const HarmonicTable table =
            ComputeHarmonics(circuit, kind, groups, fundamental, solver, messages, {}, 1);
        render::TimeResponsePlotInput input;
        input.PlotGain = DefaultGraphGain(table);
        input.GraphGain = RoundedDefaultGain(input.PlotGain);
        input.Bold = bold;
        input.GraphBoxColour = box;
        input.ValueText = valueText;
        input.DatafileName = "HPFILTER.DAT";
        input.RevisionNumber = state.RevisionNumber;
        input.TodayText = TodayText();
        QImage picture = render::BlankTimeResponsePicture();
        if (kind == TimeResponseKind::SquareWave) {
            render::DrawSquareWaveGraph(picture, input, table);
        } else {
            render::DrawPulseGraph(picture, input, table);
        }
        return picture;
    }

    testing::TempFolder folder;
};

TEST_F(TimeResponseCommandTest, SquareWaveIsTheWindowsPicture) {
    const CliRun run = Cli({"square", "HPFILTER.DAT", "--freq", "200", "--resolution", "medium",
                            "--bold", "--box", "black", "--out", "sq.bmp"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "default_gain_db 0\ngain_db 0\n");
    const QImage saved = Saved("sq.bmp");
    ASSERT_EQ(saved.size(), QSize(643, 485));
    EXPECT_EQ(saved, WindowPicture(TimeResponseKind::SquareWave, 16, 200, "200", true, 0));
}

TEST_F(TimeResponseCommandTest, PulseIsTheWindowsPicture) {
    const CliRun run =
        Cli({"pulse", "HPFILTER.DAT", "--width", "1m", "--expansion", "3", "--out", "p.png"});
    ASSERT_EQ(run.status, 0) << run.err;
    const QImage saved = Saved("p.png");
    ASSERT_EQ(saved.size(), QSize(643, 485));
    EXPECT_EQ(saved,
              WindowPicture(TimeResponseKind::Pulse, 32, 0.01L / 1e-3L, "1m", false, 12632256));
}

TEST_F(TimeResponseCommandTest, GainIsLimitedAroundTheDefault) {
    CliRun run = Cli({"pulse", "HPFILTER.DAT", "--width", "1m", "--expansion", "1", "--gain", "100",
                      "--out", "p.bmp"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "default_gain_db -2\ngain_db 48\n"); // default + 50
    run = Cli({"square", "HPFILTER.DAT", "--freq", "1k", "--resolution", "low", "--gain", "-90",
               "--out", "s.bmp"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_NE(run.out.find("gain_db -40\n"), std::string::npos) << run.out;
}

TEST_F(TimeResponseCommandTest, ZeroGainCircuitWarnsAndDrawsOnTheZeroLine) {
    const CliRun run =
        Cli({"square", "OPEN.DAT", "--freq", "1k", "--resolution", "low", "--out", "o.bmp"});
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "default_gain_db 5000\ngain_db 3000\n");
    EXPECT_NE(run.err.find("Gain out of limits 5000 dB"), std::string::npos) << run.err;
    const QImage saved = Saved("o.bmp");
    for (int x : {60, 300, 600}) {
        EXPECT_EQ(render::ValueFromColour(saved.pixelColor(x, 242)), render::kBlack) << x;
    }
}

TEST_F(TimeResponseCommandTest, BadOptionsWriteNothing) {
    const std::vector<std::vector<std::string>> cases = {
        {"square", "HPFILTER.DAT", "--freq", "0", "--resolution", "low", "--out", "x.bmp"},
        {"square", "HPFILTER.DAT", "--freq", "abc", "--resolution", "low", "--out", "x.bmp"},
        {"square", "HPFILTER.DAT", "--freq", "1k", "--resolution", "huge", "--out", "x.bmp"},
        {"square", "HPFILTER.DAT", "--resolution", "low", "--out", "x.bmp"},
        {"square", "HPFILTER.DAT", "--freq", "1k", "--resolution", "low"},
        {"square", "HPFILTER.DAT", "--freq", "1k", "--resolution", "low", "--gain", "1.5", "--out",
         "x.bmp"},
        {"square", "HPFILTER.DAT", "--freq", "1k", "--resolution", "low", "--box", "red", "--out",
         "x.bmp"},
        {"pulse", "HPFILTER.DAT", "--width", "-5", "--expansion", "1", "--out", "x.bmp"},
        {"pulse", "HPFILTER.DAT", "--width", "1m", "--expansion", "2", "--out", "x.bmp"},
        {"pulse", "--width", "1m", "--expansion", "1", "--out", "x.bmp"},
    };
    for (const auto& arguments : cases) {
        const CliRun run = Cli(arguments);
        EXPECT_EQ(run.status, 2) << ::testing::PrintToString(arguments);
        EXPECT_FALSE(run.err.empty());
    }
    EXPECT_FALSE(std::filesystem::exists(folder / "x.bmp"));
}

} // namespace
} // namespace kelvor::cli
