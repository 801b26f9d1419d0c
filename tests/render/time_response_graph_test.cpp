// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/time_response_graph.h"

#include "kelvor_error.h"
#include "render/picture_checks.h"
#include "timeresp/graph_gain.h"
#include "timeresp/time_response_kinds.h"

#include <gtest/gtest.h>

namespace kelvor::render {
namespace {

using testing::ColourAt;
using testing::CountColour;
using testing::IsBlack;
using testing::IsWhite;

constexpr int32_t kBlue = 16711680;

// A table as the solver leaves it, with the same gain and phase at every harmonic.
HarmonicTable FlatTable(TimeResponseKind kind, int32_t groups, long double gain, long double dc) {
    HarmonicTable table;
    table.kind = kind;
    table.groups = groups;
    table.gain.assign(static_cast<std::size_t>(table.Count()), gain);
    table.phase.assign(static_cast<std::size_t>(table.Count()), 0.0L);
    table.largest = gain > kLeastLargestGain ? gain : kLeastLargestGain;
    table.DcGain = dc;
    table.complete = true;
    return table;
}

TimeResponsePlotInput Input(long double plotGain) {
    TimeResponsePlotInput input;
    input.GraphGain = RoundedDefaultGain(plotGain);
    input.PlotGain = plotGain;
    input.ValueText = "3k";
    input.DatafileName = "HPFILTER.DAT";
    input.RevisionNumber = 3;
    input.TodayText = "7 Dec 2026";
    return input;
}

class TimeResponseGraphTest : public testing::PictureTest {
protected:
    QImage Square(const HarmonicTable& table, const TimeResponsePlotInput& input) {
        QImage picture = BlankTimeResponsePicture();
        DrawSquareWaveGraph(picture, input, table);
        return picture;
    }
    QImage Pulse(const HarmonicTable& table, const TimeResponsePlotInput& input) {
        QImage picture = BlankTimeResponsePicture();
        DrawPulseGraph(picture, input, table);
        return picture;
    }
};

TEST_F(TimeResponseGraphTest, SquareWaveFrameAxesAndTicks) {
    const QImage picture = Square(FlatTable(TimeResponseKind::SquareWave, 4, 1, 0), Input(0));
    EXPECT_EQ(picture.size(), QSize(643, 485));
    EXPECT_EQ(ColourAt(picture, 0, 242), kSilver); // the grey box
    EXPECT_EQ(ColourAt(picture, 642, 242), kSilver);
    EXPECT_EQ(ColourAt(picture, 46, 60), kSilver); // the amplitude axis
    for (int y : {68, 137, 207, 277, 346, 415}) {
        EXPECT_TRUE(IsBlack(picture, 45, y) && IsBlack(picture, 47, y)) << y;
        EXPECT_EQ(ColourAt(picture, 46, y - 1), kSilver) << y;
    }
    for (int y : {103, 172, 312, 381}) {
        EXPECT_TRUE(IsBlack(picture, 46, y - 1) && IsBlack(picture, 46, y + 1)) << y;
        EXPECT_TRUE(IsBlack(picture, 45, y) && IsBlack(picture, 47, y)) << y;
    }
    // The labels stand on white cells left of the axis.
    EXPECT_GT(CountColour(picture, QRect(29, 96, 14, 12), kBlack), 3);
    EXPECT_GT(CountColour(picture, QRect(34, 235, 8, 12), kBlack), 3);
}

TEST_F(TimeResponseGraphTest, BoxColourIsTheSettingsColour) {
    TimeResponsePlotInput input = Input(0);
    const HarmonicTable table = FlatTable(TimeResponseKind::SquareWave, 4, 1, 0);
    input.GraphBoxColour = kBlack;
    EXPECT_TRUE(IsBlack(Square(table, input), 320, 0));
    input.GraphBoxColour = kWhite;
    EXPECT_TRUE(IsWhite(Square(table, input), 320, 0));
}

TEST_F(TimeResponseGraphTest, WireDrawsPlusOneMirrorAndRepeat) {
    const QImage picture = Square(FlatTable(TimeResponseKind::SquareWave, 4, 1, 0), Input(0));
    // First half-period at +1 (row 103), the mirrored half at -1 (row 381), and the start of
    // the next period at +1 again.
    for (int x : {100, 200, 300}) {
        EXPECT_TRUE(IsBlack(picture, x, 103)) << x;
    }
    for (int x : {350, 450, 560}) {
        EXPECT_TRUE(IsBlack(picture, x, 381)) << x;
    }
    EXPECT_TRUE(IsBlack(picture, 600, 103));
    EXPECT_TRUE(IsBlack(picture, 60, 381)); // before the first edge
    // The rising edge passes through the zero line at x = 76.
    EXPECT_EQ(ColourAt(picture, 76, 242), kRed); // under the time mark's cross
    EXPECT_TRUE(IsBlack(picture, 76, 200));
    // The trace ends at x = 612.
    EXPECT_TRUE(IsWhite(picture, 614, 103));
}

TEST_F(TimeResponseGraphTest, IdealInputIsBlueDotsEveryThirdPixel) {
    const HarmonicTable silent = FlatTable(TimeResponseKind::SquareWave, 4, 0, 0);
    TimeResponsePlotInput input = Input(0);
    QImage picture = Square(silent, input);
    EXPECT_EQ(ColourAt(picture, 78, 103), kBlue);
    EXPECT_TRUE(IsWhite(picture, 79, 103));
    EXPECT_EQ(ColourAt(picture, 51, 381), kBlue);
    EXPECT_EQ(ColourAt(picture, 329, 201), kBlue);
    EXPECT_EQ(ColourAt(picture, 582, 300), kBlue);
    EXPECT_EQ(ColourAt(picture, 612, 103), kBlue);
    input.ShowOriginal = false;
    picture = Square(silent, input);
    EXPECT_EQ(CountColour(picture, picture.rect(), kBlue), 0);
}

TEST_F(TimeResponseGraphTest, ZeroGainCircuitDrawsAFlatTraceOnTheZeroLine) {
    HarmonicTable silent = FlatTable(TimeResponseKind::SquareWave, 4, 0, 0);
    const GraphGainChoice choice = ChooseGraphGain(5000, DefaultGraphGain(silent), 40);
    TimeResponsePlotInput input = Input(choice.plotGain);
    input.GraphGain = choice.graphGain;
    const QImage picture = Square(silent, input);
    for (int x : {51, 100, 300, 500, 612}) {
        EXPECT_TRUE(IsBlack(picture, x, 242)) << x;
        EXPECT_TRUE(IsWhite(picture, x, 241)) << x;
    }
}

TEST_F(TimeResponseGraphTest, SquareWaveTimeMarks) {
    const QImage picture = Square(FlatTable(TimeResponseKind::SquareWave, 4, 0, 0), Input(0));
    // Crosses every 90 degrees, dots every 10 from x = 62 to 610.
    for (int x : {76, 202, 329, 455, 582}) {
        EXPECT_EQ(ColourAt(picture, x - 1, 241), kRed) << x;
        EXPECT_EQ(ColourAt(picture, x + 1, 243), kRed) << x;
        EXPECT_EQ(ColourAt(picture, x + 1, 241), kRed) << x;
    }
    for (int x : {62, 90, 104, 118, 188, 610}) {
        EXPECT_EQ(ColourAt(picture, x, 242), kRed) << x;
        EXPECT_TRUE(IsWhite(picture, x, 241)) << x;
    }
    EXPECT_TRUE(IsBlack(picture, 91, 242)); // the trace between the marks
}

TEST_F(TimeResponseGraphTest, TraceOnTheLimitsIsRed) {
    // 40 dB above: the +1 level lies far above the picture and is cut at row 47.
    const QImage picture = Square(FlatTable(TimeResponseKind::SquareWave, 4, 1, 0), Input(40));
    EXPECT_EQ(ColourAt(picture, 200, 47), kRed);
    EXPECT_EQ(ColourAt(picture, 450, 437), kRed); // the mirror, cut at the bottom
    EXPECT_TRUE(IsWhite(picture, 200, 46));
}

TEST_F(TimeResponseGraphTest, BoldDoublesTheTraceOneRowLower) {
    TimeResponsePlotInput input = Input(0);
    input.Bold = true;
    const QImage picture = Square(FlatTable(TimeResponseKind::SquareWave, 4, 1, 0), input);
    EXPECT_TRUE(IsBlack(picture, 200, 103));
    EXPECT_TRUE(IsBlack(picture, 200, 104));
}

TEST_F(TimeResponseGraphTest, PulseBoldBaselineMovesTheTraceUpOneRow) {
    const HarmonicTable silent = FlatTable(TimeResponseKind::Pulse, 8, 0, 0);
    TimeResponsePlotInput input = Input(0);
    QImage plain = Pulse(silent, input);
    EXPECT_TRUE(IsBlack(plain, 300, 242));
    EXPECT_TRUE(IsWhite(plain, 300, 241));
    input.Bold = true;
    QImage bold = Pulse(silent, input);
    EXPECT_TRUE(IsBlack(bold, 300, 241));
    EXPECT_TRUE(IsBlack(bold, 300, 242)); // the second line of the bold trace
    EXPECT_TRUE(IsWhite(bold, 300, 240));
}

TEST_F(TimeResponseGraphTest, PulseAxisAndWireTrace) {
    const QImage picture = Pulse(FlatTable(TimeResponseKind::Pulse, 8, 1, 1), Input(0));
    EXPECT_EQ(ColourAt(picture, 41, 60), kSilver);
    EXPECT_TRUE(IsBlack(picture, 40, 68) && IsBlack(picture, 42, 68));
    // The pulse centred at x = 71 reaches +1; between pulses the trace rests on zero.
    EXPECT_TRUE(IsBlack(picture, 71, 103));
    EXPECT_TRUE(IsBlack(picture, 300, 242));
    EXPECT_TRUE(IsBlack(picture, 583, 103)); // the next pulse, one period (512) later
}

TEST_F(TimeResponseGraphTest, PulseIdealInputPerExpansion) {
    TimeResponsePlotInput input = Input(0);
    struct Case {
        int32_t groups;
        int edge;
        bool secondPulse;
    };
    for (const Case c : {Case{8, 73, true}, Case{32, 85, false}, Case{128, 123, false}}) {
        const QImage picture = Pulse(FlatTable(TimeResponseKind::Pulse, c.groups, 0, 0), input);
        EXPECT_EQ(ColourAt(picture, 68, 105), kBlue) << c.groups; // the leading edge
        EXPECT_EQ(ColourAt(picture, c.edge, 105), kBlue) << c.groups;
        EXPECT_EQ(ColourAt(picture, 580, 105) == kBlue, c.secondPulse) << c.groups;
        EXPECT_EQ(ColourAt(picture, 585, 105) == kBlue, c.secondPulse) << c.groups;
        EXPECT_EQ(ColourAt(picture, 582, 103) == kBlue, c.secondPulse) << c.groups;
    }
}

TEST_F(TimeResponseGraphTest, PulseTimeMarksPerExpansion) {
    TimeResponsePlotInput input = Input(0);
    // x 1: crosses every 51.2 pixels and no dots.
    QImage picture = Pulse(FlatTable(TimeResponseKind::Pulse, 8, 0, 0), input);
    for (int x : {68, 119, 170, 222, 273, 324, 375, 426, 478, 529, 580}) {
        EXPECT_EQ(ColourAt(picture, x - 1, 241), kRed) << x;
        EXPECT_EQ(ColourAt(picture, x + 1, 243), kRed) << x;
    }
    EXPECT_TRUE(IsBlack(picture, 84, 242));
    // x 3: crosses every 163.2 pixels and a dot every pulse width of 16.32.
    picture = Pulse(FlatTable(TimeResponseKind::Pulse, 32, 0, 0), input);
    for (int x : {68, 231, 394, 558}) {
        EXPECT_EQ(ColourAt(picture, x - 1, 241), kRed) << x;
    }
    for (int x : {84, 101, 117, 133}) {
        EXPECT_EQ(ColourAt(picture, x, 242), kRed) << x;
        EXPECT_TRUE(IsWhite(picture, x, 241)) << x;
    }
    EXPECT_TRUE(IsBlack(picture, 119, 242)); // no x 1 cross here
}

TEST_F(TimeResponseGraphTest, IncompleteTableIsRefused) {
    HarmonicTable table = FlatTable(TimeResponseKind::SquareWave, 4, 1, 0);
    table.complete = false;
    QImage picture = BlankTimeResponsePicture();
    EXPECT_THROW(DrawSquareWaveGraph(picture, Input(0), table), KelvorError);
    EXPECT_THROW(
        DrawPulseGraph(picture, Input(0), FlatTable(TimeResponseKind::SquareWave, 8, 1, 0)),
        KelvorError);
}

TEST_F(TimeResponseGraphTest, PauseComesAfterTheFrameAndEveryEightColumns) {
    int frames = 0;
    int columns = 0;
    QImage picture = BlankTimeResponsePicture();
    DrawSquareWaveGraph(picture, Input(0), FlatTable(TimeResponseKind::SquareWave, 4, 1, 0),
                        [&](PlotStage stage) {
                            if (stage == PlotStage::FrameDrawn) {
                                ++frames;
                                // The frame is there, the trace not yet.
                                EXPECT_TRUE(IsWhite(picture, 200, 103));
                            } else {
                                ++columns;
                            }
                        });
    EXPECT_EQ(frames, 1);
    EXPECT_EQ(columns, 32); // t = -24, -16, ..., 224
}

} // namespace
} // namespace kelvor::render
