// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "circuit/component_record.h"

#include <cstdint>

namespace kelvor {

struct LoadedCircuit;

// A failed parse can leave node roles that the two-port reduction cannot work with; refusing is
// better than reading matrix entries that no component set. Throws KelvorError.
void CheckNodeRoles(const LoadedCircuit& circuit);

// Every node field in 0..255 and every node the kind uses in 1..NoNodes. Throws KelvorError.
void CheckRecordNodes(const ComponentRecord& record, int recordNumber, int32_t noNodes);

} // namespace kelvor
