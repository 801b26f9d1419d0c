// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "schematic/schematic_geometry.h"

#include <string>

namespace kelvor::schematic {

// The drawing as JSON, in drawing units: components with their body boxes and pins, wires,
// junctions, grounds, terminals and labels.
std::string DrawingJson(const Drawing& drawing);

} // namespace kelvor::schematic
