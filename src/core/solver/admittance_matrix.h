#pragma once

#include "solver/complex.h"

#include <vector>

namespace kelvor {

inline constexpr int MaxNodes = 100;

// The nodal admittance matrix of one computation, rows and columns numbered 1..MaxNodes by node.
// Allocated once and reused: a computation clears only the block it uses.
class AdmittanceMatrix {
public:
    AdmittanceMatrix();

    // Clears the leading n by n block.
    void Clear(int n);

    // Unchecked: callers check node numbers where they come from a record.
    Complex& at(int row, int column) { return cells_[row * kStride + column]; }
    const Complex& at(int row, int column) const { return cells_[row * kStride + column]; }

    // Exchanges node numbers p and q (1 <= p, q <= n): columns first, then rows.
    void SwapNodes(int p, int q, int n);

    // Gaussian elimination without pivoting of nodes n-1 down to 3. Afterwards entries (1,1),
    // (1,2), (2,1), (2,2) are the short-circuit parameters of the two-port against node n.
    void ReduceToTwoPort(int n);

private:
    static constexpr int kStride = MaxNodes + 1;
    std::vector<Complex> cells_;
    std::vector<int> pivotRowColumns_; // scratch: the non-zero columns of the pivot row
};

} // namespace kelvor
