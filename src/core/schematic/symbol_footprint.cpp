// SPDX-License-Identifier: GPL-3.0-or-later
#include "schematic/symbol_footprint.h"

#include "circuit/component_kind.h"

#include <algorithm>

namespace kelvor::schematic {
namespace {

constexpr int G = kGridStep;

Point Cell(int x, int y) {
    return {x * G, y * G};
}

// Turns a footprint drawn upright upside down about the middle of its pins.
void FlipVertically(Footprint& footprint) {
    int low = footprint.pins.front().y;
    int high = low;
    for (const Point& pin : footprint.pins) {
        low = std::min(low, pin.y);
        high = std::max(high, pin.y);
    }
    for (Point& pin : footprint.pins) {
        pin.y = low + high - pin.y;
    }
    const Box body = footprint.body;
    footprint.body.y0 = low + high - body.y1;
    footprint.body.y1 = low + high - body.y0;
}

} // namespace

Footprint FootprintOf(char kind, SymbolTurn turn) {
    Footprint footprint;
    const ComponentKind* described = FindComponentKind(kind);
    if (described == nullptr) {
        footprint.body = {0, 0, G, G};
        return footprint;
    }
    switch (described->symbol) {
    case SymbolShape::TwoTerminal:
        if (turn.vertical) {
            footprint.pins = {Cell(0, 0), Cell(0, 3)};
            footprint.body = {-8, 10, 8, 50};
            footprint.labelSide = LabelSide::Right;
            if (turn.flipped) {
                std::swap(footprint.pins[0], footprint.pins[1]);
            }
        } else {
            footprint.pins = {Cell(0, 0), Cell(3, 0)};
            footprint.body = {10, -8, 50, 8};
            if (turn.flipped) {
                std::swap(footprint.pins[0], footprint.pins[1]);
            }
        }
        return footprint;
    case SymbolShape::ThreeElectrode:
        // Control electrode on the left, the two others above and below on the right.
        footprint.pins = {Cell(0, 0), Cell(2, -2), Cell(2, 2)};
        footprint.body = {8, -30, 46, 30};
        footprint.labelSide = LabelSide::Right;
        break;
    case SymbolShape::Amplifier:
        // +, - and the output; the body is the triangle.
        footprint.pins = {Cell(0, 0), Cell(0, 2), Cell(4, 1)};
        footprint.body = {10, -10, 70, 50};
        break;
    case SymbolShape::CoupledCoils:
        footprint.pins = {Cell(0, 0), Cell(0, 3), Cell(3, 0), Cell(3, 3)};
        footprint.body = {10, -6, 50, 66};
        break;
    case SymbolShape::TappedTransformer:
        footprint.pins = {Cell(0, 0), Cell(0, 2), Cell(0, 4), Cell(3, 0), Cell(3, 4)};
        footprint.body = {10, -6, 50, 86};
        break;
    }
    if (turn.flipped) {
        FlipVertically(footprint);
    }
    return footprint;
}

int EstimatedTextWidth(const std::string& utf8) {
    // Code points, not bytes: the unit signs are two bytes each.
    const auto points = std::count_if(utf8.begin(), utf8.end(), [](char c) {
        return (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    });
    return static_cast<int>(points) * 6 + 2;
}

LabelBoxes LabelBoxesFor(const Footprint& footprint, Point origin, int nameWidth, int valueWidth) {
    const Box body = footprint.body.Moved(origin.x, origin.y);
    LabelBoxes boxes;
    if (footprint.labelSide == LabelSide::Right) {
        const int left = body.x1 + 4;
        const int middle = (body.y0 + body.y1) / 2;
        boxes.name = {left, middle - kLabelLineHeight - 1, left + nameWidth, middle - 1};
        boxes.value = {left, middle + 1, left + valueWidth, middle + 1 + kLabelLineHeight};
    } else {
        const int centre = (body.x0 + body.x1) / 2;
        const int bottom = body.y0 - 2;
        boxes.value = {centre - valueWidth / 2, bottom - kLabelLineHeight,
                       centre - valueWidth / 2 + valueWidth, bottom};
        boxes.name = {centre - nameWidth / 2, bottom - 2 * kLabelLineHeight - 1,
                      centre - nameWidth / 2 + nameWidth, bottom - kLabelLineHeight - 1};
    }
    return boxes;
}

} // namespace kelvor::schematic
