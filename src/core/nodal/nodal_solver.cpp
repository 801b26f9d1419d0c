// SPDX-License-Identifier: GPL-3.0-or-later
#include "nodal/nodal_solver.h"

#include "kelvor_error.h"
#include "solver/circuit_checks.h"
#include "solver/floating_point_faults.h"

#include <cstdio>
#include <string>

namespace kelvor {
namespace {

std::string Activity(long double frequency) {
    char text[96];
    std::snprintf(text, sizeof text, "while solving the nodal equations at %.6Lg Hz.", frequency);
    return text;
}

} // namespace

NodalSolver::NodalSolver(const LoadedCircuit& circuit) : circuit_(circuit) {
    CheckNodeRoles(circuit);
    const int n = circuit.NoNodes;
    std::vector<bool> used(n + 1, false);
    for (std::size_t index = 1; index < circuit.records.size(); ++index) {
        const ComponentRecord& record = circuit.records[index];
        CheckRecordNodes(record, static_cast<int>(index), n);
        for (const Stamp& stamp : StampsOf(record.kind)) {
            used[NodalPoint::NodeOfSlot(record, stamp.row, circuit.NodeCom)] = true;
            used[NodalPoint::NodeOfSlot(record, stamp.column, circuit.NodeCom)] = true;
        }
    }
    unknownOfNode_.assign(n + 1, -1);
    for (int node = 1; node <= n; ++node) {
        if (used[node] && node != circuit.NodeIn && node != circuit.NodeCom) {
            unknownOfNode_[node] = static_cast<int>(nodeOfUnknown_.size());
            nodeOfUnknown_.push_back(node);
        }
    }
    std::vector<std::pair<int, int>> entries;
    for (std::size_t index = 1; index < circuit.records.size(); ++index) {
        const ComponentRecord& record = circuit.records[index];
        for (const Stamp& stamp : StampsOf(record.kind)) {
            const int row =
                unknownOfNode_[NodalPoint::NodeOfSlot(record, stamp.row, circuit.NodeCom)];
            const int column =
                unknownOfNode_[NodalPoint::NodeOfSlot(record, stamp.column, circuit.NodeCom)];
            if (row >= 0 && column >= 0) {
                entries.emplace_back(row, column);
            }
        }
    }
    lu_.SetPattern(static_cast<int>(nodeOfUnknown_.size()), entries);
    point_.voltages.resize(n + 1);
    point_.transfers.resize(n + 1);
    point_.terms.resize(circuit.records.size() * kMaxElementTerms);
}

void NodalSolver::Assemble(long double frequency) {
    point_.frequency = frequency;
    StampContext context;
    context.W = TwoPi * frequency;
    context.frequency = frequency;
    context.NodeCom = circuit_.NodeCom;
    for (std::size_t index = 1; index < circuit_.records.size(); ++index) {
        ComputeElementTerms(circuit_.records[index], context,
                            &point_.terms[index * kMaxElementTerms]);
    }
}

const NodalPoint& NodalSolver::Finish() {
    lu_.Clear();
    rightSide_.assign(lu_.Size(), CZero);
    for (std::size_t index = 1; index < circuit_.records.size(); ++index) {
        const ComponentRecord& record = circuit_.records[index];
        const Complex* terms = point_.TermsOf(index);
        for (const Stamp& stamp : StampsOf(record.kind)) {
            const int row =
                unknownOfNode_[NodalPoint::NodeOfSlot(record, stamp.row, circuit_.NodeCom)];
            if (row < 0) {
                continue;
            }
            const int columnNode = NodalPoint::NodeOfSlot(record, stamp.column, circuit_.NodeCom);
            const int column = unknownOfNode_[columnNode];
            if (column >= 0) {
                Complex& entry = lu_.At(row, column);
                entry = stamp.subtract ? CSub(entry, terms[stamp.term])
                                       : CAdd(entry, terms[stamp.term]);
            } else if (columnNode == circuit_.NodeIn) {
                // The source's 1 V times the input column moves to the right-hand side.
                Complex& entry = rightSide_[row];
                entry = stamp.subtract ? CAdd(entry, terms[stamp.term])
                                       : CSub(entry, terms[stamp.term]);
            }
        }
    }
    const auto activity = [this] { return Activity(point_.frequency); };
    ThrowIfFloatingPointFault(activity);
    const int undetermined = lu_.Factorize();
    if (undetermined >= 0) {
        throw ComputationFault("Floating-point division by zero " + Activity(point_.frequency) +
                               " Node " + std::to_string(nodeOfUnknown_[undetermined]) +
                               " is joined to nothing at this frequency.");
    }
    lu_.Solve(rightSide_, solution_);
    outputSelector_.assign(lu_.Size(), CZero);
    const int output = unknownOfNode_[circuit_.NodeOut];
    if (output >= 0) {
        outputSelector_[output] = COne;
    }
    lu_.SolveTransposed(outputSelector_, adjoint_);

    for (auto& value : point_.voltages) {
        value = CZero;
    }
    for (auto& value : point_.transfers) {
        value = CZero;
    }
    point_.voltages[circuit_.NodeIn] = COne;
    for (std::size_t unknown = 0; unknown < nodeOfUnknown_.size(); ++unknown) {
        point_.voltages[nodeOfUnknown_[unknown]] = solution_[unknown];
        point_.transfers[nodeOfUnknown_[unknown]] = adjoint_[unknown];
    }
    point_.gain = point_.voltages[circuit_.NodeOut];
    ThrowIfFloatingPointFault(activity);
    return point_;
}

const NodalPoint& NodalSolver::Solve(long double frequency) {
    ClearFloatingPointFaults();
    Assemble(frequency);
    return Finish();
}

const NodalPoint& NodalSolver::SolveWithTerms(long double frequency, std::size_t record,
                                              const Complex* terms) {
    ClearFloatingPointFaults();
    Assemble(frequency);
    for (int term = 0; term < kMaxElementTerms; ++term) {
        point_.terms[record * kMaxElementTerms + term] = terms[term];
    }
    return Finish();
}

} // namespace kelvor
