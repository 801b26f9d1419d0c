// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QImage>
#include <functional>
#include <string>

namespace kelvor::render {

// The photograph the image processing window brightens, and the name of its brightened copy.
inline constexpr const char* kImageToBrighten = "102_0251.bmp";

// Dark pixels are multiplied up so that shadow detail shows: by 5 up to a brightest channel of
// 50, 4 up to 63, 3 up to 84, 2 up to 100, and left alone above.
int BrighteningFactor(int brightestChannel);

struct BrighteningResult {
    int peak = 0;       // the brightest channel seen in the columns counted 1 to 249
    int lastFactor = 1; // the factor of the last pixel processed (last column, last row)
};

// Brightens the picture in place, column by column from the left, each column top to bottom;
// columns are counted from 1, as the window's counter shows them. `beforeColumn` is called
// with each column's number before it is processed. The picture ends in a 32-bit RGB format.
BrighteningResult BrightenImage(QImage& picture,
                                const std::function<void(int column)>& beforeColumn = {});

// "102_0251_T=0_M=" + the last factor + "_O=0.bmp".
std::string BrightenedFileName(int lastFactor);

} // namespace kelvor::render
