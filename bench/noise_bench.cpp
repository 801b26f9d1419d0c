// SPDX-License-Identifier: GPL-3.0-or-later
#include "bench_support.h"
#include "bode/bode_grid.h"
#include "nodal/nodal_solver.h"
#include "noise/noise_analysis.h"
#include "sensitivity/sensitivity.h"

#include <benchmark/benchmark.h>
#include <string>

namespace {

using namespace kelvor;

// One nodal solve with its adjoint, to set beside Response/Ladder100.
void NodalPoint(benchmark::State& state, const std::string& datafile) {
    const LoadedCircuit circuit = bench::ParseText(datafile);
    NodalSolver solver(circuit);
    for (auto _ : state) {
        benchmark::DoNotOptimize(solver.Solve(1000).gain);
    }
}
BENCHMARK_CAPTURE(NodalPoint, Sample, SampleDatafileText("7 Dec 2026"));
BENCHMARK_CAPTURE(NodalPoint, Ladder100, bench::LadderDatafile())->Unit(benchmark::kMicrosecond);

// The whole analysis on all cores: 300 densities from 10 Hz to 100 kHz and the band total
// over the same range; refined as the analyser's noise plot asks for, or not.
void Noise(benchmark::State& state, const std::string& datafile, bool refine) {
    const LoadedCircuit circuit = bench::ParseText(datafile);
    NoiseRequest request;
    request.band = {10, 100e3L};
    request.frequencies = LogFrequencyGrid(request.band, 75);
    request.refine = refine;
    const std::vector<int> lines(circuit.records.size(), 1);
    for (auto _ : state) {
        NoiseAnalysis analysis = RunNoiseAnalysis(circuit, lines, {}, request);
        benchmark::DoNotOptimize(analysis);
    }
}
BENCHMARK_CAPTURE(Noise, Sample, SampleDatafileText("7 Dec 2026"), false)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(Noise, Ladder100, bench::LadderDatafile(), false)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(Noise, SampleRefined, SampleDatafileText("7 Dec 2026"), true)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(Noise, Ladder100Refined, bench::LadderDatafile(), true)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

void Sensitivity(benchmark::State& state, const std::string& datafile) {
    const LoadedCircuit circuit = bench::ParseText(datafile);
    const std::vector<int> lines(circuit.records.size(), 1);
    for (auto _ : state) {
        SensitivityAnalysis analysis = RunSensitivityAnalysis(circuit, lines, 1000);
        benchmark::DoNotOptimize(analysis);
    }
}
BENCHMARK_CAPTURE(Sensitivity, Ladder100, bench::LadderDatafile())->Unit(benchmark::kMicrosecond);

} // namespace
