// SPDX-License-Identifier: GPL-3.0-or-later
#include "solver/pivot_elimination.h"

#include <cmath>
#include <cstring>
#include <gtest/gtest.h>
#include <random>
#include <span>
#include <vector>

namespace kelvor {
namespace {

// The elimination as plain C++ in the order the kernel must keep: product, guarded division,
// subtraction, one entry at a time.
void ReferenceStep(std::vector<Complex>& cells, int stride, int k,
                   const std::vector<EliminationRow>& rows, const std::vector<int>& columns) {
    const Complex pivot = cells[k * stride + k];
    const long double pivotSquared = GuardedSquaredMagnitude(pivot);
    for (const auto [i, updated] : rows) {
        for (int j : std::span(columns).first(updated)) {
            const Complex product = CMul(cells[k * stride + j], cells[i * stride + k]);
            cells[i * stride + j] =
                CSub(cells[i * stride + j], CDivGuarded(product, pivot, pivotSquared));
        }
    }
}

bool SameBits(long double a, long double b) {
    return std::memcmp(&a, &b, 10) == 0; // the 80 bits, not the padding
}

// Random matrices whose entries span 1e-40 to 1e+40 with both signs, a share of them exact zeros
// of either sign (a zero product must leave even a negative zero as it is, a zero pivot takes
// the floor), every fourth matrix scaled down by 1e-126 so that tiny pivots take the floor too,
// eliminated down to the two-port over random subsets of rows and columns (from a single row
// and column, the steps of a ladder, to all of them, the steps of a dense circuit), each row
// over all the step's columns or, in half the trials, over a random leading part of them.
TEST(PivotElimination, EveryBitThatOfThePlainElimination) {
    std::mt19937_64 random(25);
    std::uniform_real_distribution<double> exponent(-40, 40), mantissa(-1, 1);
    for (const double zeroShare : {0.0, 0.3, 0.8}) {
        std::bernoulli_distribution isZero(zeroShare), listed(0.7), negative(0.5);
        int differing = 0;
        for (int trial = 0; trial < 100; ++trial) {
            const int n = 4 + trial % 37;
            const int stride = n + 1;
            const long double scale = trial % 4 == 3 ? 1e-126L : 1;
            const auto entry = [&]() -> long double {
                if (isZero(random)) {
                    return negative(random) ? -0.0L : 0.0L;
                }
                return mantissa(random) *
                       std::pow(10.0L, static_cast<long double>(exponent(random))) * scale;
            };
            std::vector<Complex> expected(static_cast<std::size_t>(stride * stride));
            for (Complex& cell : expected) {
                cell = {entry(), entry()};
            }
            std::vector<Complex> actual = expected;
            for (int k = n - 1; k >= 3; --k) {
                std::vector<int> columns;
                for (int index = 1; index < k; ++index) {
                    if (trial % 2 == 0 || listed(random)) {
                        columns.push_back(index);
                    }
                }
                std::vector<EliminationRow> rows;
                const int count = static_cast<int>(columns.size());
                for (int index = 1; index < k && count > 0; ++index) {
                    if (trial % 2 == 0 || listed(random)) {
                        const int part = std::uniform_int_distribution<int>(1, count)(random);
                        rows.push_back({index, trial % 4 < 2 ? count : part});
                    }
                }
                ReferenceStep(expected, stride, k, rows, columns);
                EliminatePivot(actual.data(), stride, k, rows.data(), rows.data() + rows.size(),
                               columns.data());
            }
            for (std::size_t cell = 0; cell < actual.size(); ++cell) {
                if (!SameBits(actual[cell].Re, expected[cell].Re) ||
                    !SameBits(actual[cell].Im, expected[cell].Im)) {
                    ++differing;
                }
            }
        }
        EXPECT_EQ(differing, 0) << "zero share " << zeroShare;
    }
}

} // namespace
} // namespace kelvor
