// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/circuit_checks.h"

#include "kelvor_error.h"
#include "solver/admittance_matrix.h"
#include "solver/component_models.h"
#include "solver/response.h"

#include <string>

namespace kelvor {

void CheckNodeRoles(const LoadedCircuit& circuit) {
    const int32_t n = circuit.NoNodes;
    if (n < 3) {
        throw KelvorError("Cannot compute the response: the circuit has fewer than 3 nodes.");
    }
    if (n > kHighestNodeNumber) {
        throw KelvorError("Cannot compute the response: node " + std::to_string(n) +
                          " lies outside the range 1 to " + std::to_string(kHighestNodeNumber) +
                          ".");
    }
    const auto inCircuit = [n](int32_t node) { return node >= 1 && node <= n; };
    if (!inCircuit(circuit.NodeIn) || !inCircuit(circuit.NodeOut) || !inCircuit(circuit.NodeCom) ||
        circuit.NodeIn == circuit.NodeOut || circuit.NodeIn == circuit.NodeCom ||
        circuit.NodeOut == circuit.NodeCom) {
        throw KelvorError("Cannot compute the response: NodeIn, NodeOut and NodeCom must be "
                          "three different nodes of the circuit.");
    }
}

void CheckRecordNodes(const ComponentRecord& record, int recordNumber, int32_t noNodes) {
    for (int16_t node : record.nodes) {
        if (node < 0 || node > 255) {
            throw KelvorError("Range error: record " + std::to_string(recordNumber) +
                              " holds the node number " + std::to_string(node) + ".");
        }
    }
    const int used = UsedNodeCount(record.kind);
    for (int index = 0; index < used; ++index) {
        const int node = record.nodes[index];
        if (node < 1 || node > noNodes) {
            throw KelvorError("Range error: record " + std::to_string(recordNumber) +
                              " uses node " + std::to_string(node) +
                              ", outside the circuit's nodes 1 to " + std::to_string(noNodes) +
                              ".");
        }
    }
}

} // namespace kelvor
