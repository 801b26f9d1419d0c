// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/image_brightening.h"

#include <algorithm>
#include <vector>

namespace kelvor::render {

namespace {

// Columns before this one (counted from 1) give the peak: the left edge of the photograph.
constexpr int kPeakColumnsBelow = 250;

} // namespace

int BrighteningFactor(int brightestChannel) {
    if (brightestChannel <= 50) {
        return 5;
    }
    if (brightestChannel <= 63) {
        return 4;
    }
    if (brightestChannel <= 84) {
        return 3;
    }
    if (brightestChannel <= 100) {
        return 2;
    }
    return 1;
}

BrighteningResult BrightenImage(QImage& picture,
                                const std::function<void(int column)>& beforeColumn) {
    if (picture.format() != QImage::Format_RGB32 && picture.format() != QImage::Format_ARGB32) {
        picture.convertTo(QImage::Format_RGB32);
    }
    const int width = picture.width();
    const int height = picture.height();
    // Row addresses once: a column walks down all of them, and neighbouring columns share the
    // same cache lines, so the column order costs little over the row order.
    std::vector<QRgb*> rows(static_cast<size_t>(height));
    for (int y = 0; y < height; ++y) {
        rows[static_cast<size_t>(y)] = reinterpret_cast<QRgb*>(picture.scanLine(y));
    }

    BrighteningResult result;
    for (int x = 0; x < width; ++x) {
        if (beforeColumn) {
            beforeColumn(x + 1);
        }
        const bool countsForPeak = x + 1 < kPeakColumnsBelow;
        for (QRgb* row : rows) {
            const QRgb pixel = row[x];
            const int red = qRed(pixel);
            const int green = qGreen(pixel);
            const int blue = qBlue(pixel);
            const int brightest = std::max({red, green, blue});
            if (countsForPeak) {
                result.peak = std::max(result.peak, brightest);
            }
            result.lastFactor = BrighteningFactor(brightest);
            // Every channel is at most the brightest, so the products stay within 255.
            if (result.lastFactor != 1) {
                row[x] = qRgba(red * result.lastFactor, green * result.lastFactor,
                               blue * result.lastFactor, qAlpha(pixel));
            }
        }
    }
    return result;
}

std::string BrightenedFileName(int lastFactor) {
    return "102_0251_T=0_M=" + std::to_string(lastFactor) + "_O=0.bmp";
}

} // namespace kelvor::render
