// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "nodal/sparse_lu.h"
#include "solver/complex.h"
#include "solver/component_models.h"
#include "solver/response.h"

#include <vector>

namespace kelvor {

// The full nodal equations of a circuit at one frequency, solved for every node voltage: the
// input node driven by an ideal 1 V source, the common node the reference, the output left
// open, as in the response computation. The adjoint (transposed) system gives the transfer from
// a current injected into any node to the output voltage.
struct NodalPoint {
    long double frequency = 0;
    Complex gain;                   // Vout / Vin
    std::vector<Complex> voltages;  // by node number; the input 1, the common node 0
    std::vector<Complex> transfers; // by node number: Vout per ampere injected into the node
    // The element admittances of every record, kMaxElementTerms per record from records[0].
    std::vector<Complex> terms;

    // The node of a record's stamp slot.
    static int NodeOfSlot(const ComponentRecord& record, int slot, int nodeCom) {
        return slot == kCommonNodeSlot ? nodeCom : record.nodes[slot];
    }
    const Complex* TermsOf(std::size_t record) const { return &terms[record * kMaxElementTerms]; }
};

// One per thread: it owns the factors and buffers that each frequency reuses. The element
// admittances come from the component models and go in through the models' own stamp tables,
// so this solver and the two-port reduction read the same formulas.
class NodalSolver {
public:
    // Checks the circuit's node roles and records; throws KelvorError as the response does.
    explicit NodalSolver(const LoadedCircuit& circuit);
    // The solver keeps a reference: a temporary circuit would be gone before the first solve.
    explicit NodalSolver(const LoadedCircuit&& circuit) = delete;

    // Solves at one frequency (above 0). Throws ComputationFault on a floating-point fault or
    // when no equation determines a node (a node joined to nothing at this frequency).
    const NodalPoint& Solve(long double frequency);

    // The same with one record's element admittances replaced (for derivatives of the
    // response); `terms` holds kMaxElementTerms values.
    const NodalPoint& SolveWithTerms(long double frequency, std::size_t record,
                                     const Complex* terms);

    const LoadedCircuit& Circuit() const { return circuit_; }

private:
    void Assemble(long double frequency);
    const NodalPoint& Finish();

    const LoadedCircuit& circuit_;
    std::vector<int> unknownOfNode_; // -1 for the input, the common node and unused nodes
    std::vector<int> nodeOfUnknown_;
    SparseLu lu_;
    std::vector<Complex> rightSide_, solution_, outputSelector_, adjoint_;
    NodalPoint point_;
};

} // namespace kelvor
