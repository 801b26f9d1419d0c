// SPDX-License-Identifier: GPL-3.0-or-later
// Where a printed graph lands on the page, and the size the print page setup announces.

#include "render/print_layout.h"

#include <gtest/gtest.h>

namespace kelvor::render {
namespace {

constexpr PrintPage kPortrait600 = {4800, 6600, false};
constexpr PrintPage kLandscape600 = {6600, 4800, true};

TEST(PrintLayout, AmplitudePictureAt600PixelsPerInch) {
    EXPECT_EQ(PlaceGraphOnPage(kPortrait600, "0.5", "0.5", "200", 703, 531),
              (PrintPlacement{300, 300, 1706, 1362, false}));
    // 6600 div 11 and 4800 div 8 are 600 too.
    EXPECT_EQ(PlaceGraphOnPage(kLandscape600, "0.5", "0.5", "200", 703, 531),
              (PrintPlacement{300, 300, 1706, 1362, false}));
}

TEST(PrintLayout, TooLargeForThePageIsFlagged) {
    const auto wide = PlaceGraphOnPage(kPortrait600, "0.5", "0.5", "800", 703, 531);
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->right, 5924);
    EXPECT_TRUE(wide->exceedsPage);
    // A top margin of 12 inches runs off an 11-inch page.
    const auto low = PlaceGraphOnPage(kPortrait600, "0.5", "12", "200", 703, 531);
    ASSERT_TRUE(low);
    EXPECT_EQ(low->top, 7200);
    EXPECT_TRUE(low->exceedsPage);
    // Exactly reaching the edge still fits.
    const auto edge = PlaceGraphOnPage({1706, 1362, false}, "0", "0", "200", 853, 681);
    ASSERT_TRUE(edge);
    EXPECT_FALSE(edge->exceedsPage);
}

TEST(PrintLayout, MarginsReadLikeThePageSetupAcceptsThem) {
    // An engineering suffix, as the page setup accepted it.
    const auto milli = PlaceGraphOnPage(kPortrait600, "500m", "  1.5 ", "200", 703, 531);
    ASSERT_TRUE(milli);
    EXPECT_EQ(milli->left, 300);
    EXPECT_EQ(milli->top, 900);
    // A negative margin puts the picture at the edge, not off the page.
    const auto negative = PlaceGraphOnPage(kPortrait600, "-1", "0", "200", 703, 531);
    ASSERT_TRUE(negative);
    EXPECT_EQ(negative->left, 0);
    // Half a pixel rounds to the even neighbour: pages of 1, 3 and 5 pixels per inch.
    EXPECT_EQ(PlaceGraphOnPage({8, 11, false}, "0.5", "0", "200", 703, 531)->left, 0);
    EXPECT_EQ(PlaceGraphOnPage({24, 11, false}, "0.5", "0", "200", 703, 531)->left, 2);
    EXPECT_EQ(PlaceGraphOnPage({40, 11, false}, "0.5", "0", "200", 703, 531)->left, 2);
}

TEST(PrintLayout, UnreadableTextsGiveNoPlacement) {
    EXPECT_FALSE(PlaceGraphOnPage(kPortrait600, "", "0.5", "200", 703, 531));
    EXPECT_FALSE(PlaceGraphOnPage(kPortrait600, "0.5", "abc", "200", 703, 531));
    EXPECT_FALSE(PlaceGraphOnPage(kPortrait600, "0.5", "0.5", "1x", 703, 531));
    EXPECT_FALSE(PlaceGraphOnPage(kPortrait600, "0.5", "0.5", "", 703, 531));
    EXPECT_FALSE(PlaceGraphOnPage(kPortrait600, "1e300", "0.5", "200", 703, 531));
}

TEST(PrintLayout, ScaleBelowTenCountsAsTen) {
    const auto small = PlaceGraphOnPage(kPortrait600, "0", "0", "5", 703, 531);
    ASSERT_TRUE(small);
    EXPECT_EQ(small->right, 70);
    EXPECT_EQ(small->bottom, 53);
    // A huge scale is flagged rather than overflowing.
    const auto huge = PlaceGraphOnPage(kPortrait600, "0", "0", "2147483647", 703, 531);
    ASSERT_TRUE(huge);
    EXPECT_TRUE(huge->exceedsPage);
}

TEST(PrintLayout, PrintSizeLabel) {
    // 2.3433 x 0.96 = 2.2496 and 1.77 x 0.98 = 1.7346.
    EXPECT_EQ(PrintSizeText(200, 703, 531, 600, 600),
              "Print Size will be  2.2\"  x  1.7\"  approx.");
    EXPECT_EQ(PrintSizeText(10, 703, 531, 600, 600),
              "Print Size will be  0.1\"  x  0.1\"  approx.");
    EXPECT_EQ(PrintSizeText(1000, 640, 480, 300, 600),
              "Print Size will be  20.5\"  x  7.8\"  approx.");
}

} // namespace
} // namespace kelvor::render
