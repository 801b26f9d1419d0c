// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "schematic/schematic_geometry.h"

#include <cstdint>
#include <vector>

namespace kelvor::schematic {

// The wires of every net, as a layout hands them on to the drawing.
struct RoutedWires {
    std::vector<Wire> wires;
    std::vector<NodePoint> junctions;
    std::vector<NodePoint> grounds; // symbols of their own, beside the rail's
    int crossings = 0;
};

// A detour of any length a drawing can have.
inline constexpr int kAnyDetour = 1 << 20;

// Draws each net as orthogonal wires on the grid points of an area. A wire never enters a
// blocked point (a symbol or a label), never shares a grid step with another net, and meets
// another net only by crossing it straight where that net runs straight through, so that the
// wires read back exactly the nets they were drawn for.
class WireRouter {
public:
    explicit WireRouter(const Box& area);

    void Block(const Box& box);
    // A pin's grid point belongs to its node alone.
    void ReservePin(Point at, int node);
    // An existing wire along a row (the ground rail), which no other net may cross.
    void AddRail(int y, int x0, int x1, int node);
    // Joins the pins to one another and to what the node has already. False when a pin has
    // no way out.
    bool Connect(int node, const std::vector<Point>& pins);
    // Takes a pin straight to the rail rather than to the nearest wire of its node; without
    // crossing anything unless `mayCross`, and at most `detourSteps` grid steps longer than
    // the way down.
    bool ConnectToRail(int node, Point pin, int railY, bool mayCross, int detourSteps = kAnyDetour);
    // Whether the grid step below a point is free for a ground symbol hung there.
    bool FreeBelow(Point at) const;
    // Cuts the rail back to the outermost wires that reach it and the points given.
    void TrimRail(int y, int node, const std::vector<Point>& keep);

    std::vector<Wire> Wires() const;
    std::vector<NodePoint> Junctions() const;
    int Crossings() const;
    // Grid points the searches have looked at so far: what the wires cost to find.
    long Work() const { return work_; }

private:
    int Index(Point p) const {
        return (p.y - top_) / kGridStep * width_ + (p.x - left_) / kGridStep;
    }
    Point At(int index) const {
        return {left_ + index % width_ * kGridStep, top_ + index / width_ * kGridStep};
    }
    bool Inside(Point p) const;
    bool Route(int node, Point from, int onlyRow, bool mayCross, int detourSteps);
    int Degree(int index, int node) const;
    bool BreaksWire(int index, int node) const;
    int EdgeOwner(int index, int direction) const;
    void SetEdgeOwner(int index, int direction, int node);

    int left_;
    int top_;
    int width_;
    int height_;
    std::vector<std::uint8_t> blocked_;
    std::vector<std::uint8_t> noCrossing_;
    std::vector<std::uint8_t> crossing_;
    std::vector<int> pinNode_;
    std::vector<int> owner_;
    std::vector<int> rightEdge_; // owner of the step to the right of a point
    std::vector<int> downEdge_;  // owner of the step below a point
    std::vector<Box> reach_;     // per node: where its wires lie, for the search's estimate
    // Search scratch, kept between searches so that each one does not clear the grid.
    std::vector<int> cost_;
    std::vector<int> from_;
    std::vector<std::uint32_t> stamp_;
    std::uint32_t search_ = 0;
    long work_ = 0;
};

} // namespace kelvor::schematic
