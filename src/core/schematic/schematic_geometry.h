// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <algorithm>
#include <string>
#include <vector>

namespace kelvor::schematic {

// Drawing units: one grid step is kGridStep units; y grows downwards.
inline constexpr int kGridStep = 20;

struct Point {
    int x = 0;
    int y = 0;
    bool operator==(const Point&) const = default;
    auto operator<=>(const Point&) const = default;
};

struct Box {
    int x0 = 0;
    int y0 = 0;
    int x1 = 0;
    int y1 = 0;
    bool Overlaps(const Box& other) const {
        return x0 < other.x1 && other.x0 < x1 && y0 < other.y1 && other.y0 < y1;
    }
    // Strictly inside: a point on the outline is not.
    bool HasInside(Point p) const { return x0 < p.x && p.x < x1 && y0 < p.y && p.y < y1; }
    Box Moved(int dx, int dy) const { return {x0 + dx, y0 + dy, x1 + dx, y1 + dy}; }
};

inline Box Union(const Box& a, const Box& b) {
    return {std::min(a.x0, b.x0), std::min(a.y0, b.y0), std::max(a.x1, b.x1), std::max(a.y1, b.y1)};
}

// The grid line at or after, and at or before, a coordinate.
inline int UpToGrid(int units) {
    return units >= 0 ? (units + kGridStep - 1) / kGridStep * kGridStep
                      : -((-units) / kGridStep * kGridStep);
}
inline int DownToGrid(int units) {
    return -UpToGrid(-units);
}

// What a ground symbol hung at a point covers.
inline Box GroundSymbolBox(Point at) {
    return {at.x - 10, at.y, at.x + 10, at.y + 17};
}

struct DrawnPin {
    int node = 0;
    Point at;
};

// How a symbol lies: a two-terminal part across or upright; flipped swaps its ends, and a
// device flipped is drawn upside down, its pins keeping their roles.
struct SymbolTurn {
    bool vertical = false;
    bool flipped = false;
};

struct DrawnComponent {
    int line = 0; // Datafile line, counting from 1
    char kind = ' ';
    std::string name;
    Box box;                    // the symbol's body
    std::vector<DrawnPin> pins; // in the record's node order
    SymbolTurn turn;
    Point origin; // where the footprint's (0, 0) lies
};

struct Wire {
    int node = 0;
    Point from;
    Point to;
};

struct NodePoint {
    int node = 0;
    Point at;
};

enum class TerminalRole { In, Out };

struct Terminal {
    TerminalRole role = TerminalRole::In;
    int node = 0;
    Point at;
};

enum class LabelRole { Name, Value, Node, Terminal };

struct Label {
    std::string text; // UTF-8
    Box box;
    LabelRole role = LabelRole::Name;
};

// The whole drawing: what the renderer draws and the JSON describes.
struct Drawing {
    std::vector<DrawnComponent> components;
    std::vector<Wire> wires;
    std::vector<NodePoint> junctions;
    std::vector<NodePoint> grounds;
    std::vector<Terminal> terminals;
    std::vector<Label> labels;
    // The input source between the IN terminal and the ground rail, when the input is not the
    // common node itself.
    bool hasSource = false;
    Box sourceBox;
    Box bounds; // everything drawn, with a margin
};

} // namespace kelvor::schematic
