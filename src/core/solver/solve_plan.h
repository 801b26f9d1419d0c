// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "circuit/component_record.h"
#include "solver/admittance_matrix.h"
#include "solver/node_set.h"
#include "solver/pivot_elimination.h"

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

namespace kelvor {

struct LoadedCircuit;

// The short-circuit admittance parameters of the two-port between input and output, against
// the common node.
struct TwoPortAdmittances {
    Complex y11, y12, y21, y22;
};

// The renumbering that brings input, output and common to nodes 1, 2 and NoNodes: up to three
// exchanges of node numbers, made in order. Each moves the content of the other position, so
// the output and common numbers are tracked as they move.
struct Renumbering {
    std::array<std::array<int, 2>, 3> swaps{};
    int count = 0;
};
Renumbering RenumberingOf(const LoadedCircuit& circuit);

// What one thread needs to solve points of a prepared circuit: the matrix cells and the
// element admittances of the point. Reused from point to point.
class SolveWorkspace {
private:
    friend class SolvePlan;
    std::uint64_t preparedFor_ = 0; // the plan the buffers were sized and filled for
    std::vector<Complex> cells_;
    std::vector<Complex> terms_;
};

// Everything about a circuit that is the same at every frequency, worked out once when the
// circuit is loaded and shared read-only by every thread: the records already validated, the
// renumbering as a node map applied while stamping (no exchange of rows and columns), each
// matrix cell's additions in the order the records make them, the cells that only the
// elimination fills, and the elimination as flat lists of steps. The arithmetic of every point
// is the per-record computation's, operation for operation, so every bit of the results is the
// same; only work that cannot change a value is left out (additions into the common node's row
// and column, which are never read, and updates by factors that are exactly zero by structure).
class SolvePlan {
public:
    // Null when the circuit needs the per-record computation, which reports what is wrong at
    // every point: node roles a failed parse left, a record outside the matrix or of an unknown
    // kind, or a constant element admittance that faults.
    static std::shared_ptr<const SolvePlan> Prepare(const LoadedCircuit& circuit);

    // The plan of `changed`, the circuit of this plan with other values (a varied run): all
    // but the element terms depends only on the records' kinds and nodes, and is shared. Null
    // as Prepare.
    std::shared_ptr<const SolvePlan> WithValues(const LoadedCircuit& changed) const;

    bool HasInductor() const { return structure_->hasInductor; }

    // True when every cell is summed from the same terms as its mirror across the diagonal (a
    // circuit of reciprocal parts): the matrix is then symmetric bit for bit at every point and
    // stays so through the elimination, since each update and its mirror multiply and add the
    // same operands in exchanged order. Only the lower triangle is summed and eliminated, about
    // half the work on a dense circuit, and every bit is as before.
    bool EliminatesLowerTriangle() const { return structure_->lowerTriangle; }

    // The two-port at one frequency. Floating-point faults are left in the status flags.
    TwoPortAdmittances Solve(long double frequency, SolveWorkspace& workspace) const;

private:
    struct VaryingRecord {
        ComponentRecord record;
        int firstTerm;
    };
    struct CellSum {
        int cell;             // offset in the cell array
        int contributionsEnd; // past its last entry in contributions
    };
    struct Contribution {
        int term;
        bool subtract;
    };
    struct PivotStep {
        int k;
        int rowsBegin, rowsEnd; // into rows
        int columnsBegin;       // into columns
    };
    using Patterns = std::array<NodeSet, kHighestNodeNumber + 1>;
    struct Structure {
        int stride = 0;
        bool hasInductor = false;
        bool lowerTriangle = false;
        std::vector<CellSum> sums;
        std::vector<Contribution> contributions;
        std::vector<int> cellsToClear;
        std::vector<PivotStep> steps;
        std::vector<EliminationRow> rows;
        std::vector<int> columns;

        bool SumsAreSymmetric() const;
        void KeepLowerTriangleSums();
        void PlanElimination(int n, Patterns& rowPattern, Patterns& columnPattern);
    };

    // The element terms of the records' values; false when a constant one faults.
    bool TakeValues(const LoadedCircuit& circuit);
    void Fill(SolveWorkspace& workspace) const;
    void Eliminate(Complex* cells) const;

    std::uint64_t id_ = 0;
    std::shared_ptr<const Structure> structure_;
    std::vector<VaryingRecord> varying_;
    std::vector<Complex> constantTerms_; // every term slot; the varying ones are overwritten
};

} // namespace kelvor
