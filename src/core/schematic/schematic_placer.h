// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "schematic/schematic_circuit.h"
#include "schematic/schematic_geometry.h"

#include <vector>

namespace kelvor::schematic {

// A part's place before the wires are drawn.
struct Placement {
    SymbolTurn turn;
    Point origin; // drawing units, on the grid
    Box body;
    Box nameBox;
    Box valueBox;
    std::vector<Point> pins;
};

struct PlacedCircuit {
    std::vector<Placement> parts; // one per circuit part, in the same order
    Point inTerminal;             // the top of the source
    Point sourceBottom;
    Box sourceBox;
    bool hasSource = false;
    Point outTerminal;
    int railY = 0;
    int railLeft = 0;
    int railRight = 0;
};

// Places every part so that the signal runs from the input on the left to the output on the
// right, along the top, with the parts to common hanging down towards the rail at the bottom.
// `spacing` widens every gap (in grid steps), for a second try when a wire found no way.
// The tree of nets that decides the places can be grown in kPlacementVariants ways (which
// branch becomes the main line, which the loops drawn above, whether side branches go below
// or above): the caller keeps the best.
inline constexpr int kPlacementVariants = 8;
PlacedCircuit PlaceCircuit(const Circuit& circuit, int spacing, int variant = 0);

} // namespace kelvor::schematic
