// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "schematic/schematic_circuit.h"
#include "schematic/schematic_geometry.h"

namespace kelvor::schematic {

struct LayoutOptions {
    bool nodeNumbers = false; // a label with its node number at every net
};

// The whole drawing of a circuit: parts placed, wires drawn, labels set. Every circuit the
// reader accepts is drawn: what the placer cannot wire goes into channels, with crossings.
Drawing LayOut(const Circuit& circuit, const LayoutOptions& options = {});

} // namespace kelvor::schematic
