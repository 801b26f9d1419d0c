// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/admittance_matrix.h"

#include <cstring>
#include <utility>

namespace kelvor {
namespace {

// Byte copies: moving extended reals through the x87 registers is several times slower.
void ZeroCell(Complex& cell) {
    std::memset(static_cast<void*>(&cell), 0, sizeof cell);
}

void SwapCells(Complex& a, Complex& b) {
    unsigned char bytes[sizeof(Complex)];
    std::memcpy(bytes, &a, sizeof bytes);
    std::memcpy(static_cast<void*>(&a), &b, sizeof bytes);
    std::memcpy(static_cast<void*>(&b), bytes, sizeof bytes);
}

} // namespace

AdmittanceMatrix::AdmittanceMatrix() : cells_(kStride * kStride) {
    pivotRowColumns_.reserve(kHighestNodeNumber);
    pivotColumnRows_.reserve(kHighestNodeNumber);
}

void AdmittanceMatrix::Clear() {
    touchedRows_.ForEach([this](int row) {
        rowPattern_[row].ForEach([&](int column) {
            ZeroCell(cells_[row * kStride + column]);
            columnPattern_[column].Clear();
        });
        rowPattern_[row].Clear();
    });
    touchedRows_.Clear();
}

void AdmittanceMatrix::SwapNodes(int p, int q, int n) {
    if (p == q) {
        return;
    }
    for (int row = 1; row <= n; ++row) {
        SwapCells(cells_[row * kStride + p], cells_[row * kStride + q]);
        rowPattern_[row].SwapMembers(p, q);
    }
    std::swap(columnPattern_[p], columnPattern_[q]);
    for (int column = 1; column <= n; ++column) {
        SwapCells(cells_[p * kStride + column], cells_[q * kStride + column]);
        columnPattern_[column].SwapMembers(p, q);
    }
    std::swap(rowPattern_[p], rowPattern_[q]);
    touchedRows_.SwapMembers(p, q);
}

void AdmittanceMatrix::ReduceToTwoPort(int n) {
    // Node n is the reference: its row and column never take part. Each update is
    // Y[i][j] - (Y[k][j] * Y[i][k]) / Y[k][k] with the division done per entry, exactly as the
    // results were defined. Entries outside the pattern are exact zeros, and an update with a
    // zero factor subtracts exactly zero (the guarded division maps a zero numerator to zero),
    // so visiting only the pattern changes no bit and skips nearly all the work on sparse
    // circuits. Within one k, row k and column k are only read, so the update order is free.
    for (int k = n - 1; k >= 3; --k) {
        const NodeSet columns = rowPattern_[k].Below(k);
        const NodeSet rows = columnPattern_[k].Below(k);
        if (columns.Empty() || rows.Empty()) {
            continue;
        }
        pivotRowColumns_.clear();
        columns.ForEach([this](int j) { pivotRowColumns_.push_back(j); });
        pivotColumnRows_.clear();
        rows.ForEach([this](int i) { pivotColumnRows_.push_back(i); });

        const Complex pivot = cells_[k * kStride + k];
        const long double pivotSquared = GuardedSquaredMagnitude(pivot);
        const Complex* pivotRow = &cells_[k * kStride];
        for (int i : pivotColumnRows_) {
            const Complex pivotColumnEntry = cells_[i * kStride + k];
            Complex* row = &cells_[i * kStride];
            for (int j : pivotRowColumns_) {
                const Complex product = CMul(pivotRow[j], pivotColumnEntry);
                row[j] = CSub(row[j], CDivGuarded(product, pivot, pivotSquared));
            }
            rowPattern_[i].Merge(columns);
        }
        for (int j : pivotRowColumns_) {
            columnPattern_[j].Merge(rows);
        }
    }
}

} // namespace kelvor
