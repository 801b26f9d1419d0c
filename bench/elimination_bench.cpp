// SPDX-License-Identifier: GPL-3.0-or-later
// One elimination step of a dense 100-row matrix, beside the least any kernel with the same
// arithmetic must spend on this CPU: the two 80-bit divisions, the two subtractions and the
// memory traffic of an update (five 80-bit loads, two stores). Both report updates per second,
// so the kernel's distance from the floor reads off directly, whatever the machine.

#include "solver/complex.h"
#include "solver/pivot_elimination.h"

#include <benchmark/benchmark.h>
#include <numeric>
#include <vector>

namespace {

using namespace kelvor;

constexpr int kSize = 100;

struct DenseStep {
    std::vector<Complex> cells;
    std::vector<int> others; // every row and column but the pivot's
    std::vector<EliminationRow> rows;
    DenseStep() : cells(kSize * kSize), others(kSize - 1) {
        for (int i = 0; i < kSize * kSize; ++i) {
            // Varied non-zero entries, so that no update takes the zero product's short way.
            cells[i] = {1.0L + (i % 7) * 0.25L, 0.5L + (i % 5) * 0.125L};
        }
        std::iota(others.begin(), others.end(), 1);
        for (const int i : others) {
            rows.push_back({i, kSize - 1});
        }
    }
};

// Row k and column k are not among those updated, so the entries change by the same amount at
// every call and stay far from any overflow over a run.
void EliminationStep(benchmark::State& state) {
    DenseStep step;
    for (auto _ : state) {
        EliminatePivot(step.cells.data(), kSize, 0, step.rows.data(),
                       step.rows.data() + step.rows.size(), step.others.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * (kSize - 1) * (kSize - 1));
}
BENCHMARK(EliminationStep)->Unit(benchmark::kMicrosecond);

// The floor: per update, loads of Y[k][j] (two halves), of the pivot's squared magnitude and of
// Y[i][j] (two halves), two divisions, two subtractions, two stores. The products are left out.
void EliminationFloor(benchmark::State& state) {
    DenseStep step;
    long double squared = 2.0L;
    for (auto _ : state) {
        for (const int i : step.others) {
            Complex* row = step.cells.data() + static_cast<long>(i) * kSize;
            for (const int j : step.others) {
                const Complex* above = step.cells.data() + j;
                asm volatile("fldt 16(%[a])\n\t"
                             "fldt (%[a])\n\t"
                             "fldt %[d]\n\t"
                             "fdivr %%st, %%st(1)\n\t"
                             "fdivrp %%st, %%st(2)\n\t"
                             "fldt (%[y])\n\t"
                             "fsubp %%st, %%st(1)\n\t"
                             "fstpt (%[y])\n\t"
                             "fldt 16(%[y])\n\t"
                             "fsubp %%st, %%st(1)\n\t"
                             "fstpt 16(%[y])\n\t"
                             :
                             : [a] "r"(above), [y] "r"(row + j), [d] "m"(squared)
                             : "st", "st(1)", "st(2)", "memory");
            }
        }
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * (kSize - 1) * (kSize - 1));
}
BENCHMARK(EliminationFloor)->Unit(benchmark::kMicrosecond);

} // namespace
