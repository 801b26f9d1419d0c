// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "solver/response.h"

#include <initializer_list>

namespace kelvor::testing {

// Builds a circuit record by record, without a Datafile, for solver tests.
class CircuitBuilder {
public:
    CircuitBuilder(int nodeIn, int nodeOut, int nodeCom) {
        roles_.NodeIn = nodeIn;
        roles_.NodeOut = nodeOut;
        roles_.NodeCom = nodeCom;
        ComponentRecord header;
        header.kind = 'H';
        records_.push_back(header);
    }

    CircuitBuilder& Add(char kind, std::initializer_list<int> nodes,
                        std::initializer_list<long double> values) {
        ComponentRecord record;
        record.kind = kind;
        int index = 0;
        for (int node : nodes) {
            record.nodes[index++] = static_cast<int16_t>(node);
            roles_.NoNodes = std::max(roles_.NoNodes, node);
        }
        index = 0;
        for (long double value : values) {
            record.values[index++] = value;
        }
        records_.push_back(record);
        return *this;
    }

    // The highest node number is normally taken from the records.
    CircuitBuilder& WithNoNodes(int noNodes) {
        roles_.NoNodes = noNodes;
        return *this;
    }

    // Prepared as loading prepares a circuit.
    LoadedCircuit circuit() const { return LoadedCircuit::Prepared(records_, roles_); }

private:
    RecordList records_;
    LoadedCircuit::NodeRoles roles_;
};

} // namespace kelvor::testing
