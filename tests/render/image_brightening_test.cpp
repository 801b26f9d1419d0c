// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/image_brightening.h"

#include <gtest/gtest.h>
#include <vector>

namespace kelvor::render {
namespace {

TEST(ImageBrightening, FactorAtEachBoundary) {
    const std::vector<std::pair<int, int>> cases = {{0, 5},  {50, 5}, {51, 4},  {63, 4},  {64, 3},
                                                    {84, 3}, {85, 2}, {100, 2}, {101, 1}, {255, 1}};
    for (const auto& [brightest, factor] : cases) {
        EXPECT_EQ(BrighteningFactor(brightest), factor) << brightest;
    }
}

// A bright 300 by 4 picture with a few dark pixels and bright ones either side of column 250.
TEST(ImageBrightening, DarkPixelsMultipliedPeakFromTheLeftColumnsOnly) {
    QImage picture(300, 4, QImage::Format_RGB888);
    picture.fill(QColor(200, 200, 200));
    picture.setPixelColor(0, 0, QColor(10, 20, 30));  // brightest 30: times 5
    picture.setPixelColor(5, 3, QColor(0, 60, 10));   // 60: times 4
    picture.setPixelColor(7, 1, QColor(70, 84, 0));   // 84: times 3
    picture.setPixelColor(248, 2, QColor(240, 0, 0)); // column 249: counts for the peak
    picture.setPixelColor(249, 2, QColor(0, 0, 255)); // column 250: does not
    picture.setPixelColor(299, 3, QColor(90, 45, 9)); // the last pixel: times 2

    std::vector<int> columns;
    const BrighteningResult result =
        BrightenImage(picture, [&columns](int column) { columns.push_back(column); });

    EXPECT_EQ(result.peak, 240);
    EXPECT_EQ(result.lastFactor, 2);
    EXPECT_EQ(picture.pixelColor(0, 0), QColor(50, 100, 150));
    EXPECT_EQ(picture.pixelColor(5, 3), QColor(0, 240, 40));
    EXPECT_EQ(picture.pixelColor(7, 1), QColor(210, 252, 0));
    EXPECT_EQ(picture.pixelColor(299, 3), QColor(180, 90, 18));
    EXPECT_EQ(picture.pixelColor(100, 1), QColor(200, 200, 200));
    ASSERT_EQ(columns.size(), 300u);
    EXPECT_EQ(columns.front(), 1);
    EXPECT_EQ(columns.back(), 300);
    EXPECT_EQ(BrightenedFileName(result.lastFactor), "102_0251_T=0_M=2_O=0.bmp");
}

} // namespace
} // namespace kelvor::render
