// SPDX-License-Identifier: GPL-3.0-or-later
// The tolerance analysis of the sample Datafile with the default tolerances: 500 runs over
// 3 decades (10 Hz to 10 kHz) at 100 points per decade and more where the nominal curve bends,
// some 180,000 solves, with the worst case and the statistics; on every core and on one. And the
// dense 100-node circuit at two frequencies.

#include "bench_support.h"
#include "bode/bode_grid.h"
#include "tolerance/tolerance_analysis.h"

#include <benchmark/benchmark.h>

namespace {

using namespace kelvor;

// Argument: threads (0: one per core).
void ToleranceAnalysisOfTheSample(benchmark::State& state) {
    const LoadedCircuit circuit = bench::SampleCircuit();
    const std::vector<long double> grid = LogFrequencyGrid({10, 10000}, 100);
    const ToleranceSettings settings = DefaultToleranceSettings();
    std::size_t points = 0;
    for (auto _ : state) {
        const ToleranceRun run =
            RunToleranceAnalysis(circuit, {}, settings, grid, {}, static_cast<int>(state.range(0)));
        points = run.analysis.nominal.size(); // the grid's and those the nominal curve added
        benchmark::DoNotOptimize(run);
    }
    // The solves at the grid's points; each run's marker search solves some more.
    state.counters["grid_solves"] = static_cast<double>(settings.runs * points);
}
BENCHMARK(ToleranceAnalysisOfTheSample)
    ->Arg(0)
    ->Arg(1)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

// The dense 100-node circuit at two frequencies, 500 runs, on every core: its 4,950 toleranced
// values make the worst case's signs the larger part unless they come from one adjoint solve.
void ToleranceAnalysisOfMesh100(benchmark::State& state) {
    const LoadedCircuit circuit = bench::ParseText(bench::Mesh100Datafile());
    const ToleranceSettings settings = DefaultToleranceSettings();
    std::size_t points = 0;
    for (auto _ : state) {
        const ToleranceRun run = RunToleranceAnalysis(circuit, {}, settings, {1000, 10000}, {}, 0);
        points = run.analysis.nominal.size(); // the two asked for and those the curve added
        benchmark::DoNotOptimize(run);
    }
    // As above: on this circuit the marker searches add about a third to the grid's solves.
    state.counters["grid_solves"] = static_cast<double>(settings.runs * points);
}
BENCHMARK(ToleranceAnalysisOfMesh100)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

} // namespace
