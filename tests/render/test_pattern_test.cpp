// SPDX-License-Identifier: GPL-3.0-or-later
// The test pattern's key pixels: corner marks, diagonals, line samples, the rounded rectangle,
// the sixteen colour strokes, the texts, and the big-bitmap tiling.

#include "picture_checks.h"
#include "render/graph_canvas.h"
#include "render/test_pattern.h"

#include <array>
#include <gtest/gtest.h>

namespace kelvor::render {
namespace {

using testing::ColourAt;
using testing::ColumnsOfColour;
using testing::CountColour;
using testing::FirstDifference;
using testing::IsBlack;
using testing::IsWhite;
using testing::RowsOfColour;
using testing::WhitePicture;

class TestPatternTest : public testing::PictureTest {
protected:
    QImage pattern = QImage();
    void SetUp() override {
        PictureTest::SetUp();
        pattern = DrawTestPattern("HPFILTER.DAT", "7 Dec 2026");
    }
};

TEST_F(TestPatternTest, SizeAndCornerMarks) {
    ASSERT_EQ(pattern.size(), QSize(640, 480));
    // Red top-left mark, the open polyline (0, 30), (0, 0), (30, 0).
    EXPECT_EQ(ColourAt(pattern, 0, 30), kRed);
    EXPECT_EQ(ColourAt(pattern, 0, 15), kRed);
    EXPECT_EQ(ColourAt(pattern, 15, 0), kRed);
    EXPECT_EQ(ColourAt(pattern, 29, 0), kRed);
    EXPECT_EQ(ColourAt(pattern, 1, 30), kWhite);
    // The black marks of the other three corners.
    for (auto [x, y] : {std::pair{639, 15},
                        {624, 0},
                        {609, 0},
                        {0, 464},
                        {15, 479},
                        {0, 449},
                        {624, 479},
                        {639, 464},
                        {639, 450}}) {
        EXPECT_TRUE(IsBlack(pattern, x, y)) << x << "," << y;
    }
    // The two corners where diagonals start are set white at the end.
    EXPECT_TRUE(IsWhite(pattern, 0, 0));
    EXPECT_TRUE(IsWhite(pattern, 639, 479));
}

TEST_F(TestPatternTest, Diagonals) {
    // (0, 0) to (480, 480) runs at 45 degrees, past the bottom edge.
    for (int i : {1, 100, 200, 479}) {
        EXPECT_TRUE(IsBlack(pattern, i, i)) << i;
    }
    // The picture's two diagonals, clear of the strokes drawn over their crossing.
    EXPECT_TRUE(IsBlack(pattern, 100, 75));
    EXPECT_TRUE(IsBlack(pattern, 100, 404));
    EXPECT_TRUE(IsBlack(pattern, 500, 375));
    EXPECT_TRUE(IsBlack(pattern, 500, 104));
    EXPECT_TRUE(IsBlack(pattern, 639, 0) || IsBlack(pattern, 638, 1));
    EXPECT_TRUE(IsBlack(pattern, 0, 479));
    // A one-pixel line: one pixel per column.
    EXPECT_EQ(RowsOfColour(pattern, 500, kBlack, 0, 479).size(), 2u);
}

TEST_F(TestPatternTest, LineSamples) {
    // DrawSegment(20, 100, 35, 100) next to DrawBoldSegment(37, 100, 50, 100).
    EXPECT_EQ(ColumnsOfColour(pattern, 100, kBlack, 18, 52), []() {
        std::set<int> columns;
        for (int x = 20; x <= 50; ++x) {
            if (x != 36) {
                columns.insert(x);
            }
        }
        return columns;
    }());
    EXPECT_EQ(ColumnsOfColour(pattern, 101, kBlack, 18, 52).size(), 14u);
    EXPECT_TRUE(IsBlack(pattern, 37, 101));
    EXPECT_TRUE(IsBlack(pattern, 50, 101));
    // The thin 45-degree sample from (10, 140) to (30, 160), and its bold neighbour below.
    EXPECT_TRUE(IsBlack(pattern, 20, 150));
    EXPECT_TRUE(IsBlack(pattern, 30, 160));
    EXPECT_EQ(ColumnsOfColour(pattern, 145, kBlack, 0, 40).size(), 1u);
    EXPECT_GE(ColumnsOfColour(pattern, 165, kBlack, 0, 40).size(), 2u);
}

TEST_F(TestPatternTest, RoundedRectangle) {
    EXPECT_TRUE(IsBlack(pattern, 200, 213));
    EXPECT_TRUE(IsBlack(pattern, 200, 291));
    EXPECT_TRUE(IsBlack(pattern, 44, 250));
    EXPECT_TRUE(IsBlack(pattern, 376, 250));
    // The right and bottom coordinates lie outside, and the corners are rounded off.
    EXPECT_TRUE(IsWhite(pattern, 200, 292));
    EXPECT_TRUE(IsWhite(pattern, 377, 250));
    EXPECT_TRUE(IsWhite(pattern, 44, 213));
    EXPECT_TRUE(IsWhite(pattern, 376, 291));
    EXPECT_TRUE(IsWhite(pattern, 370, 250)) << "filled white, diagonals aside";
}

TEST_F(TestPatternTest, SixteenColourStrokes) {
    constexpr std::array<int32_t, 16> colours = {
        0,        128, 32768, 32896,    8388608,  8388736,  8421376, 8421504,
        12632256, 255, 65280, 16711680, 16776960, 16711935, 65535,   16777215};
    for (int i = 0; i < 16; ++i) {
        // The middle of stroke i at row 252.
        EXPECT_EQ(ColourAt(pattern, 62 + 20 * i, 252), colours[i]) << "stroke " << i;
        EXPECT_EQ(ColourAt(pattern, 62 + 20 * i, 230), colours[i]) << "stroke " << i;
    }
    // 17 pixels wide across the slightly slanted stroke, with white between strokes.
    const std::set<int> black = ColumnsOfColour(pattern, 252, 0, 45, 75);
    EXPECT_GE(black.size(), 17u);
    EXPECT_LE(black.size(), 18u);
    EXPECT_TRUE(black.count(54) && black.count(70));
    EXPECT_FALSE(black.count(52) || black.count(72));
    EXPECT_TRUE(IsWhite(pattern, 72, 252));
    // The round ends reach beyond the end points.
    EXPECT_EQ(ColourAt(pattern, 60 + 20 * 9, 219), kRed);
    EXPECT_EQ(ColourAt(pattern, 64 + 20 * 9, 287), kRed);
}

TEST_F(TestPatternTest, Texts) {
    QImage expected = WhitePicture(640, 480);
    {
        GraphCanvas canvas(expected);
        canvas.SetFont("Arial", 10);
        canvas.SetFontStyle(false, true);
        canvas.TextOut(260, 90, "TEST PATTERN");
        canvas.SetFontStyle(true, false);
        canvas.TextOut(170, 430, "HPFILTER.DAT      7 Dec 2026");
    }
    EXPECT_EQ(FirstDifference(pattern, expected, QRect(255, 85, 120, 25)), "");
    EXPECT_EQ(FirstDifference(pattern, expected, QRect(165, 425, 250, 25)), "");
    EXPECT_GT(CountColour(pattern, QRect(260, 90, 100, 18), kBlack), 60);
    EXPECT_GT(CountColour(pattern, QRect(170, 430, 200, 18), kBlack), 100);
}

TEST_F(TestPatternTest, BigPcbTilesCoverTheWiderPicture) {
    QImage tile(100, 100, QImage::Format_RGB32);
    tile.fill(QColor(0, 255, 0));
    const QImage big = DrawBigPcbPicture(pattern, tile);
    ASSERT_EQ(big.size(), QSize(768, 512));
    // Tiles at every 128 pixels, 6 across and 4 down.
    for (int i = 0; i <= 5; ++i) {
        for (int j = 0; j <= 3; ++j) {
            EXPECT_EQ(ColourAt(big, 128 * i + 50, 128 * j + 50), 65280) << i << "," << j;
        }
    }
    // Between the tiles the pattern shows, placed top-left; beyond it the picture is white.
    EXPECT_TRUE(IsBlack(big, 110, 110));
    EXPECT_TRUE(IsWhite(big, 700, 500));
    EXPECT_TRUE(IsWhite(big, 660, 120));
}

} // namespace
} // namespace kelvor::render
