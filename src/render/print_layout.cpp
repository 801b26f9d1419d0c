// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/print_layout.h"

#include "text/eng_value.h"
#include "text/number_format.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace kelvor::render {
namespace {

constexpr int kMinimumScalePercent = 10;

int MarginPixels(long double inches, int pagePixels, int pageInches) {
    const long double pixels = inches * (pagePixels / pageInches);
    return static_cast<int>(std::max(0.0L, std::nearbyint(pixels)));
}

} // namespace

std::optional<PrintPlacement> PlaceGraphOnPage(const PrintPage& page, const std::string& originX,
                                               const std::string& originY,
                                               const std::string& scalePercent, int pictureWidth,
                                               int pictureHeight) {
    bool ok = true;
    const long double marginX = ParseEngValue(originX, ok);
    const long double marginY = ParseEngValue(originY, ok);
    int32_t scale = ParseIntField(scalePercent, ok);
    // A margin beyond any page would overflow the pixel arithmetic.
    if (!ok || !std::isfinite(marginX) || !std::isfinite(marginY) || std::fabs(marginX) > 1000 ||
        std::fabs(marginY) > 1000) {
        return std::nullopt;
    }
    scale = std::max(scale, kMinimumScalePercent);
    const int pageWidthInches = page.landscape ? 11 : 8;
    const int pageHeightInches = page.landscape ? 8 : 11;

    PrintPlacement placement;
    placement.left = MarginPixels(marginX, page.widthPixels, pageWidthInches);
    placement.top = MarginPixels(marginY, page.heightPixels, pageHeightInches);
    const int64_t right = placement.left + static_cast<int64_t>(scale) * pictureWidth / 100;
    const int64_t bottom = placement.top + static_cast<int64_t>(scale) * pictureHeight / 100;
    placement.exceedsPage = right > page.widthPixels || bottom > page.heightPixels;
    placement.right = static_cast<int>(std::min<int64_t>(right, INT32_MAX));
    placement.bottom = static_cast<int>(std::min<int64_t>(bottom, INT32_MAX));
    return placement;
}

std::string PrintSizeText(int scalePercent, int pictureWidth, int pictureHeight, int dotsPerInchX,
                          int dotsPerInchY) {
    const long double width =
        static_cast<long double>(scalePercent) * pictureWidth / (dotsPerInchX * 100.0L);
    const long double height =
        static_cast<long double>(scalePercent) * pictureHeight / (dotsPerInchY * 100.0L);
    return "Print Size will be  " + FormatFixed(width * 0.96L, 3, 1) + "\"  x  " +
           FormatFixed(height * 0.98L, 3, 1) + "\"  approx.";
}

} // namespace kelvor::render
