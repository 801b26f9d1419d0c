// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "solver/response.h"

#include <initializer_list>

namespace kelvor::testing {

// Builds a circuit record by record, without a Datafile, for solver tests.
class CircuitBuilder {
public:
    CircuitBuilder(int nodeIn, int nodeOut, int nodeCom) {
        circuit_.NodeIn = nodeIn;
        circuit_.NodeOut = nodeOut;
        circuit_.NodeCom = nodeCom;
        ComponentRecord header;
        header.kind = 'H';
        circuit_.records.push_back(header);
    }

    CircuitBuilder& Add(char kind, std::initializer_list<int> nodes,
                        std::initializer_list<long double> values) {
        ComponentRecord record;
        record.kind = kind;
        int index = 0;
        for (int node : nodes) {
            record.nodes[index++] = static_cast<int16_t>(node);
            circuit_.NoNodes = std::max(circuit_.NoNodes, node);
        }
        index = 0;
        for (long double value : values) {
            record.values[index++] = value;
        }
        circuit_.records.push_back(record);
        return *this;
    }

    // The highest node number is normally taken from the records.
    CircuitBuilder& WithNoNodes(int noNodes) {
        circuit_.NoNodes = noNodes;
        return *this;
    }

    // Prepared as loading prepares a circuit.
    LoadedCircuit circuit() const {
        LoadedCircuit prepared = circuit_;
        PrepareSolvePlan(prepared);
        return prepared;
    }

    // Without a solve plan: every point takes the per-record computation.
    const LoadedCircuit& unprepared() const { return circuit_; }

private:
    LoadedCircuit circuit_;
};

} // namespace kelvor::testing
