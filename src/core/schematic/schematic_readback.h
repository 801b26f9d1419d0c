// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "schematic/schematic_circuit.h"
#include "schematic/schematic_geometry.h"

#include <string>

namespace kelvor::schematic {

// Reads the nets back from the drawing's geometry alone (pins, wire ends touching wires,
// junction dots, terminals, ground symbols, which all mean the common node; the nodes the
// items carry are not used) and compares them
// with the circuit's: empty when every node's pins are joined to one another and to nothing
// else, else the first difference in words.
std::string NetlistDifference(const Drawing& drawing, const Circuit& circuit);

} // namespace kelvor::schematic
