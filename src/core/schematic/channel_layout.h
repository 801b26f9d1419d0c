// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "schematic/schematic_circuit.h"
#include "schematic/schematic_placer.h"
#include "schematic/wire_router.h"

namespace kelvor::schematic {

struct ChannelLayout {
    PlacedCircuit placed;
    RoutedWires routed;
};

// A layout that cannot fail, for circuits too tangled for the placer: the parts stand in rows,
// every pin leads straight up into the channel above its row, where each net has a track of its
// own; a net that reaches several rows goes down a trunk of its own on the right, and common
// goes on down to the ground symbol below everything. Wires cross wherever they must, always
// straight across a plain stretch of the other net's wire.
ChannelLayout LayOutInChannels(const Circuit& circuit);

} // namespace kelvor::schematic
