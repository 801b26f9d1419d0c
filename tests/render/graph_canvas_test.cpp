// SPDX-License-Identifier: GPL-3.0-or-later
// The drawing helpers that every plot of the graph window shares: which pixels each one sets.

#include "picture_checks.h"
#include "render/graph_canvas.h"

#include <gtest/gtest.h>
#include <utility>
#include <vector>

namespace kelvor::render {
namespace {

using testing::ColourAt;
using testing::ColumnsOfColour;
using testing::CountColour;
using testing::IsBlack;
using testing::IsWhite;
using testing::RowsOfColour;
using testing::WhitePicture;

using Pixels = std::set<std::pair<int, int>>;

Pixels BlackPixels(const QImage& picture) {
    Pixels pixels;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            if (IsBlack(picture, x, y)) {
                pixels.insert({x, y});
            }
        }
    }
    return pixels;
}

template <typename Draw> Pixels Drawn(Draw draw, int width = 64, int height = 64) {
    QImage picture = WhitePicture(width, height);
    {
        GraphCanvas canvas(picture);
        draw(canvas);
    }
    return BlackPixels(picture);
}

class GraphCanvasTest : public testing::PictureTest {};

TEST(Colours, RedInTheLowByte) {
    EXPECT_EQ(ColourFromValue(255), QColor(255, 0, 0));
    EXPECT_EQ(ColourFromValue(65280), QColor(0, 255, 0));
    EXPECT_EQ(ColourFromValue(16711680), QColor(0, 0, 255));
    EXPECT_EQ(ColourFromValue(kSilver), QColor(192, 192, 192));
    EXPECT_EQ(ValueFromColour(QColor(128, 128, 0)), 32896);
    // The bits above the 24 colour bits carry nothing.
    EXPECT_EQ(ColourFromValue(0x7F0000FF), QColor(255, 0, 0));
}

TEST_F(GraphCanvasTest, SegmentsIncludeBothEnds) {
    EXPECT_EQ(Drawn([](GraphCanvas& c) { c.DrawSegment(10, 10, 14, 10); }),
              (Pixels{{10, 10}, {11, 10}, {12, 10}, {13, 10}, {14, 10}}));
    EXPECT_EQ(Drawn([](GraphCanvas& c) { c.DrawSegment(5, 7, 5, 4); }),
              (Pixels{{5, 4}, {5, 5}, {5, 6}, {5, 7}}));
    EXPECT_EQ(Drawn([](GraphCanvas& c) { c.DrawSegment(3, 3, 3, 3); }), (Pixels{{3, 3}}));
    // The pen's own line leaves the far end for the next line to set.
    EXPECT_EQ(Drawn([](GraphCanvas& c) { c.Line(10, 10, 14, 10); }),
              (Pixels{{10, 10}, {11, 10}, {12, 10}, {13, 10}}));
}

TEST_F(GraphCanvasTest, SteepSegmentHasOnePixelPerRowAndStepsOnce) {
    // One graph column to the next, 8 rows down: the curve's typical segment.
    const Pixels pixels = Drawn([](GraphCanvas& c) { c.DrawSegment(20, 10, 21, 18); });
    ASSERT_EQ(pixels.size(), 9u);
    int previousX = 20;
    for (int y = 10; y <= 18; ++y) {
        const bool left = pixels.count({20, y}) == 1;
        const bool right = pixels.count({21, y}) == 1;
        ASSERT_NE(left, right) << "row " << y;
        const int x = left ? 20 : 21;
        EXPECT_GE(x, previousX) << "the line goes back at row " << y;
        previousX = x;
    }
    EXPECT_TRUE(pixels.count({20, 10}));
    EXPECT_TRUE(pixels.count({21, 18}));
    // The step falls in the middle, not at either end.
    EXPECT_TRUE(pixels.count({20, 13}));
    EXPECT_TRUE(pixels.count({21, 15}));
}

TEST_F(GraphCanvasTest, BoldSegmentsDoubleDownAndWidenOnSlopes) {
    // Flat: the line and the line one row lower, nothing sideways.
    EXPECT_EQ(Drawn([](GraphCanvas& c) { c.DrawBoldSegment(10, 10, 12, 10); }),
              (Pixels{{10, 10}, {11, 10}, {12, 10}, {10, 11}, {11, 11}, {12, 11}}));

    // Rising (y decreases): again one pixel to the right.
    const Pixels rising = Drawn([](GraphCanvas& c) { c.DrawBoldSegment(20, 30, 21, 20); });
    EXPECT_TRUE(rising.count({21, 20}));
    EXPECT_TRUE(rising.count({22, 20})) << "widened to the right";
    EXPECT_TRUE(rising.count({21, 21})) << "doubled one lower";
    EXPECT_TRUE(rising.count({20, 31})) << "doubled one lower at the start";
    for (const auto& [x, y] : rising) {
        EXPECT_GE(x, 20) << "nothing to the left of a rising segment";
        EXPECT_LE(x, 22);
    }

    // Falling (y increases): again one pixel to the left.
    const Pixels falling = Drawn([](GraphCanvas& c) { c.DrawBoldSegment(20, 20, 21, 30); });
    EXPECT_TRUE(falling.count({19, 20})) << "widened to the left";
    EXPECT_TRUE(falling.count({21, 31}));
    for (const auto& [x, y] : falling) {
        EXPECT_GE(x, 19);
        EXPECT_LE(x, 21) << "nothing to the right of a falling segment";
    }
}

TEST_F(GraphCanvasTest, DottedLinesAtMultiplesOfTheStepThenBlackAgain) {
    QImage picture = WhitePicture(703, 531);
    {
        GraphCanvas canvas(picture);
        canvas.SetPenColour(kRed);
        canvas.DrawDottedHLine(677, 63, 59, kSilver, 2);
        canvas.DrawDottedVLine(481, 35, 78, kSilver, 2);
        // The pen is black after a dotted line, whatever it was before.
        canvas.DrawSegment(5, 5, 5, 5);
    }
    std::set<int> evenColumns;
    for (int x = 64; x <= 676; x += 2) {
        evenColumns.insert(x);
    }
    EXPECT_EQ(ColumnsOfColour(picture, 59, kSilver, 0, 702), evenColumns);
    std::set<int> evenRows;
    for (int y = 36; y <= 480; y += 2) {
        evenRows.insert(y);
    }
    evenRows.insert(59); // where the horizontal line crosses at the even x 78
    EXPECT_EQ(RowsOfColour(picture, 78, kSilver, 0, 530), evenRows);
    EXPECT_TRUE(IsBlack(picture, 5, 5));

    // Multiples of the step, also left of zero: only 0 and 3 of -3, 0, 3 are on the picture.
    const Pixels stepThree = Drawn([](GraphCanvas& c) { c.DrawDottedHLine(-5, 5, 2, kBlack, 3); });
    EXPECT_EQ(stepThree, (Pixels{{0, 2}, {3, 2}}));
    // A step of zero has no multiples to draw, and the pen is still black afterwards.
    EXPECT_EQ(Drawn([](GraphCanvas& c) {
                  c.DrawDottedVLine(0, 10, 5, kBlack, 0);
                  c.DrawDottedHLine(0, 10, 5, kSilver, 0);
                  c.DrawTickH(20, 20);
              }),
              (Pixels{{19, 20}, {20, 20}, {21, 20}}));
}

TEST_F(GraphCanvasTest, TicksAndMarks) {
    EXPECT_EQ(Drawn([](GraphCanvas& c) { c.DrawTickH(10, 10); }),
              (Pixels{{9, 10}, {10, 10}, {11, 10}}));
    EXPECT_EQ(Drawn([](GraphCanvas& c) { c.DrawTickCross(10, 10); }),
              (Pixels{{9, 10}, {10, 10}, {11, 10}, {10, 9}, {10, 11}}));
    EXPECT_EQ(Drawn([](GraphCanvas& c) { c.DrawXMark(10, 10); }),
              (Pixels{{9, 9}, {10, 10}, {11, 11}, {9, 11}, {11, 9}}));
    EXPECT_EQ(Drawn([](GraphCanvas& c) { c.DrawVTick(7, 20, -2); }),
              (Pixels{{7, 18}, {7, 19}, {7, 20}}));
    EXPECT_EQ(Drawn([](GraphCanvas& c) { c.DrawVTick(7, 20, 0); }), (Pixels{{7, 20}}));

    QImage picture = WhitePicture(703, 100);
    {
        GraphCanvas canvas(picture);
        canvas.DrawMajorDbTick(40);
        canvas.DrawMinorDbTick(60);
    }
    EXPECT_EQ(ColumnsOfColour(picture, 40, kBlack, 0, 702),
              (std::set<int>{57, 58, 59, 60, 680, 681}));
    EXPECT_EQ(ColumnsOfColour(picture, 60, kBlack, 0, 702), (std::set<int>{57, 58, 681}));
}

TEST_F(GraphCanvasTest, TextCellIsOpaqueAndWholePixelsWide) {
    QImage picture(200, 60, QImage::Format_RGB32);
    picture.fill(Qt::black);
    int height = 0;
    {
        GraphCanvas canvas(picture);
        canvas.SetFont("Courier New", 8);
        height = canvas.TextHeight();
        EXPECT_EQ(canvas.TextWidth("    "), 28) << "an 8-point fixed-pitch cell is 7 pixels";
        canvas.TextOut(10, 20, "    ");
    }
    ASSERT_GT(height, 8);
    // Exactly the cell is white: four cells of 7 pixels from x 10, the font's height from y 20.
    EXPECT_EQ(CountColour(picture, QRect(0, 0, 200, 60), kWhite), 28 * height);
    EXPECT_TRUE(IsWhite(picture, 10, 20));
    EXPECT_TRUE(IsWhite(picture, 37, 20 + height - 1));
    EXPECT_TRUE(IsBlack(picture, 38, 20));
    EXPECT_TRUE(IsBlack(picture, 9, 20));
    EXPECT_TRUE(IsBlack(picture, 10, 20 + height));
}

TEST_F(GraphCanvasTest, RotatedTextRunsUpwardUntilTheSizeChanges) {
    QImage picture = WhitePicture(200, 300);
    {
        GraphCanvas canvas(picture);
        canvas.SetFont("Courier New", 9);
        canvas.UseRotatedFont();
        EXPECT_TRUE(canvas.FontRotated());
        canvas.TextOut(50, 200, "plitude");
        canvas.SetFontSize(9);
        EXPECT_FALSE(canvas.FontRotated());
        canvas.TextOut(100, 250, "plitude");
    }
    // Upward: the ink lies right of x 50 and above y 200, seven cells of 7 pixels high.
    const QRect turned(50, 200 - 49, 16, 49);
    const int inside = CountColour(picture, turned, kBlack);
    EXPECT_GT(inside, 30);
    EXPECT_EQ(CountColour(picture, QRect(0, 0, 100, 300), kBlack), inside)
        << "turned text outside its upward cell";
    // Horizontal again: the second text lies right of x 100 and below y 250.
    EXPECT_GT(CountColour(picture, QRect(100, 250, 49, 16), kBlack), 30);
}

TEST_F(GraphCanvasTest, LineFarBelowThePictureIsCutAtTheEdge) {
    QImage picture = WhitePicture(703, 531);
    {
        GraphCanvas canvas(picture);
        canvas.DrawSegment(100, 400, 101, 32767);
        canvas.DrawSegment(101, 32767, 102, 32767);
    }
    // Half of the 32368 rows belong to each column; only the visible part is drawn.
    EXPECT_EQ(RowsOfColour(picture, 100, kBlack, 0, 530).size(), 131u);
    EXPECT_TRUE(RowsOfColour(picture, 101, kBlack, 0, 530).empty());
    EXPECT_TRUE(RowsOfColour(picture, 102, kBlack, 0, 530).empty());
}

} // namespace
} // namespace kelvor::render
