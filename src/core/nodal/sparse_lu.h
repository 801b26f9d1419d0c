// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "solver/complex.h"
#include "solver/node_set.h"

#include <array>
#include <cstddef>
#include <utility>
#include <vector>

namespace kelvor {

// LU factors of a sparse square matrix of extended complex numbers, with partial pivoting. The
// columns are eliminated in a fixed minimum-degree order worked out once from the pattern; the
// pivot row of each column is the one of largest magnitude at the time, so a badly scaled row
// never divides. Entries live in a dense array, but clearing and elimination visit only the
// pattern (bit sets of the rows and columns that may be non-zero), so a ladder costs a few
// operations per node.
class SparseLu {
public:
    static constexpr int kMostUnknowns = 128;

    // Sets the size and the entries that assembly will write, and works out the elimination order.
    void SetPattern(int size, const std::vector<std::pair<int, int>>& entries);

    int Size() const { return size_; }

    // Makes every entry zero again.
    void Clear();

    Complex& At(int row, int column) {
        rowPattern_[row].Insert(column);
        columnPattern_[column].Insert(row);
        return cells_[row * kMostUnknowns + column];
    }

    // Factorises the assembled matrix in place. Returns the column of the first unknown that no
    // equation determines (all its candidate pivots are zero), or -1 when the factors are made.
    int Factorize();

    // x with A x = b; b is indexed by equation, x by unknown.
    void Solve(const std::vector<Complex>& b, std::vector<Complex>& x);

    // z with A^T z = e; e is indexed by unknown, z by equation.
    void SolveTransposed(const std::vector<Complex>& e, std::vector<Complex>& z);

private:
    struct Entry {
        int index;
        Complex value;
    };
    struct Step {
        int row;
        int column;
        Complex pivot;
        std::size_t lowerBegin, lowerEnd; // rows eliminated with their multipliers
        std::size_t upperBegin, upperEnd; // the pivot row's entries right of the pivot
    };

    int size_ = 0;
    std::vector<int> order_;
    std::vector<Complex> cells_ = std::vector<Complex>(kMostUnknowns * kMostUnknowns);
    std::array<NodeSet, kMostUnknowns> rowPattern_{};
    std::array<NodeSet, kMostUnknowns> columnPattern_{};
    std::vector<Step> steps_;
    std::vector<Entry> lower_;
    std::vector<Entry> upper_;
    std::vector<Complex> work_;
    std::vector<Complex> upperSolution_;
};

} // namespace kelvor
