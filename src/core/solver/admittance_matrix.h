// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "circuit/circuit_limits.h"
#include "solver/complex.h"
#include "solver/node_set.h"

#include <array>
#include <vector>

namespace kelvor {

// The nodal admittance matrix of one computation, rows and columns numbered 1..kHighestNodeNumber
// by node. Allocated once and reused. It keeps the pattern of entries that may be non-zero, so that
// clearing and elimination touch only those: every entry outside the pattern is exactly zero.
class AdmittanceMatrix {
public:
    AdmittanceMatrix();

    // Makes every entry zero again.
    void Clear();

    // Unchecked: callers check node numbers where they come from a record. Writing access puts
    // the entry into the pattern.
    Complex& at(int row, int column) {
        rowPattern_[row].Insert(column);
        columnPattern_[column].Insert(row);
        touchedRows_.Insert(row);
        return cells_[row * kStride + column];
    }
    const Complex& at(int row, int column) const { return cells_[row * kStride + column]; }

    // Exchanges node numbers p and q (1 <= p, q <= n): columns first, then rows.
    void SwapNodes(int p, int q, int n);

    // Gaussian elimination without pivoting of nodes n-1 down to 3. Afterwards entries (1,1),
    // (1,2), (2,1), (2,2) are the short-circuit parameters of the two-port against node n.
    void ReduceToTwoPort(int n);

private:
    static constexpr int kStride = kHighestNodeNumber + 1;
    std::vector<Complex> cells_;
    std::array<NodeSet, kStride> rowPattern_;
    std::array<NodeSet, kStride> columnPattern_;
    NodeSet touchedRows_;              // rows whose pattern is not empty
    std::vector<int> pivotRowColumns_; // scratch for the elimination
    std::vector<int> pivotColumnRows_;
};

} // namespace kelvor
