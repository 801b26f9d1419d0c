// SPDX-License-Identifier: GPL-3.0-or-later
// The Bode analyser on the sample Datafile over 3 decades (10 Hz to 10 kHz): the curve on every
// core with its markers, and the stacked plots built and drawn into a picture of 1000 by 800.

#include "bench_support.h"
#include "bode/bode_grid.h"
#include "bode/bode_markers.h"
#include "plot/bode_plot.h"

#include <benchmark/benchmark.h>

namespace {

using namespace kelvor;

BodeRun ComputeSample(int pointsPerDecade, std::vector<BodeMarker>* markers = nullptr) {
    static const LoadedCircuit circuit = bench::SampleCircuit();
    ResponseSolver solver;
    bench::QuietMessages messages;
    BodeRun run =
        ComputeBodeCurve(circuit, LogFrequencyGrid({10, 10000}, pointsPerDecade), solver, messages);
    if (markers != nullptr) {
        *markers = FindMarkers(run.curve, circuit, solver);
    }
    return run;
}

// Argument: points per decade.
void BodeCurveAndMarkers(benchmark::State& state) {
    for (auto _ : state) {
        std::vector<BodeMarker> markers;
        benchmark::DoNotOptimize(ComputeSample(static_cast<int>(state.range(0)), &markers));
    }
}
BENCHMARK(BodeCurveAndMarkers)->Arg(100)->Arg(2000)->Unit(benchmark::kMillisecond)->UseRealTime();

void BodeComputeAndPlot(benchmark::State& state) {
    plot::BodePlot plot;
    plot.resize(1000, 800);
    for (auto _ : state) {
        std::vector<BodeMarker> markers;
        BodeRun run = ComputeSample(static_cast<int>(state.range(0)), &markers);
        plot.setTraces({{"HPFILTER", std::move(run.curve), true}});
        plot.setMarkers(plot::PlaceableMarkers(markers));
        benchmark::DoNotOptimize(plot.toPixmap(1000, 800));
    }
}
BENCHMARK(BodeComputeAndPlot)->Arg(100)->Arg(2000)->Unit(benchmark::kMillisecond)->UseRealTime();

// The tuned IF transformer's sharp resonance over 100 kHz to 2 MHz at 100 points per decade
// and more where the curve bends, on every core. The counter says how many points it took.
void BodeAdaptiveCurveOfTheIfTransformer(benchmark::State& state) {
    const LoadedCircuit circuit = bench::ExampleCircuit("IFTRANS.DAT");
    ResponseSolver solver;
    bench::QuietMessages messages;
    std::size_t points = 0;
    for (auto _ : state) {
        const BodeRun run =
            ComputeBodeRange(circuit, {100e3L, 2e6L}, kDefaultPointsPerDecade, solver, messages);
        points = run.curve.size();
        benchmark::DoNotOptimize(run);
    }
    state.counters["points"] = static_cast<double>(points);
}
BENCHMARK(BodeAdaptiveCurveOfTheIfTransformer)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
