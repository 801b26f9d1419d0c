// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "solver/complex.h"

namespace kelvor {

// One row of an elimination step: the row, and how many of the step's columns (at least one,
// counted from the first) it updates.
struct EliminationRow {
    int row;
    int columns;
};

// One step of the node elimination on a square matrix of `stride` columns:
// Y[i][j] -= (Y[k][j] * Y[i][k]) / Y[k][k] for every listed row i and each of its columns j,
// each update the product, zero test and guarded division of CMul, CDivGuarded and CSub,
// operation for operation, so every bit is that of the plain computation. An exactly zero
// product leaves its entry as it is: the guarded division makes it exactly zero, and Y - 0 is
// Y. The test must stay: dividing a zero product instead can give -0, and a -0 entry minus -0
// is +0.
void EliminatePivot(Complex* cells, int stride, int k, const EliminationRow* rows,
                    const EliminationRow* rowsEnd, const int* columns);

} // namespace kelvor
