// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "schematic/schematic_geometry.h"

#include <vector>

namespace kelvor::schematic {

enum class LabelSide { Above, Right };

// Where a symbol's pins and body lie, relative to its origin, in drawing units. Pins lie on grid
// points outside the body, so a wire reaches every pin without entering a symbol.
struct Footprint {
    std::vector<Point> pins; // in the record's node order
    Box body;
    LabelSide labelSide = LabelSide::Above;
};

Footprint FootprintOf(char kind, SymbolTurn turn);

// The boxes of a symbol's name and value lines, placed beside its body.
struct LabelBoxes {
    Box name;
    Box value;
};
LabelBoxes LabelBoxesFor(const Footprint& footprint, Point origin, int nameWidth, int valueWidth);

// Text metrics the layout assumes: the renderer fits every text into the box given here.
inline constexpr int kLabelLineHeight = 12;
int EstimatedTextWidth(const std::string& utf8);

} // namespace kelvor::schematic
