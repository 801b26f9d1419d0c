// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <optional>
#include <string>

namespace kelvor::render {

// The printable page in printer pixels; a landscape page counts as 11 inches wide and 8 high,
// a portrait one as 8 wide and 11 high.
struct PrintPage {
    int widthPixels = 0;
    int heightPixels = 0;
    bool landscape = false;
};

// Where the picture goes on the page, in printer pixels.
struct PrintPlacement {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool exceedsPage = false; // the user is asked before such a page is printed

    bool operator==(const PrintPlacement&) const = default;
};

// The margins in inches and the scale in percent of the picture's pixels, as the print page
// setup keeps them. The margins are read as engineering numbers, the same way the page setup
// accepted them; nullopt when a text does not convert. A scale below 10 counts as 10.
std::optional<PrintPlacement> PlaceGraphOnPage(const PrintPage& page, const std::string& originX,
                                               const std::string& originY,
                                               const std::string& scalePercent, int pictureWidth,
                                               int pictureHeight);

// The page setup's size label: "Print Size will be  2.2"  x  1.7"  approx." for a scale, the
// picture's size and the printer's pixels per inch.
std::string PrintSizeText(int scalePercent, int pictureWidth, int pictureHeight, int dotsPerInchX,
                          int dotsPerInchY);

} // namespace kelvor::render
