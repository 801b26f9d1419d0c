// SPDX-License-Identifier: GPL-3.0-or-later
// The square-wave and pulse responses of the sample Datafile, end to end as the windows run
// them (every harmonic solved, the trace synthesised, the picture drawn), and their parts: the
// solves on one thread and on every core, the folded trace against the term-by-term sum.

#include "bench_support.h"
#include "render/time_response_graph.h"
#include "timeresp/graph_gain.h"
#include "timeresp/harmonic_solve.h"
#include "timeresp/time_response_kinds.h"
#include "timeresp/trace_synthesis.h"

#include <benchmark/benchmark.h>

namespace {

using namespace kelvor;

HarmonicTable Solve(const LoadedCircuit& circuit, TimeResponseKind kind, int32_t groups,
                    long double fundamental, int threads) {
    ResponseSolver solver;
    bench::QuietMessages messages;
    return ComputeHarmonics(circuit, kind, groups, fundamental, solver, messages, {}, threads);
}

HarmonicTable Solve(TimeResponseKind kind, int32_t groups, long double fundamental, int threads) {
    static const LoadedCircuit circuit = bench::SampleCircuit();
    return Solve(circuit, kind, groups, fundamental, threads);
}

render::TimeResponsePlotInput PlotInput(const HarmonicTable& table) {
    render::TimeResponsePlotInput input;
    input.PlotGain = DefaultGraphGain(table);
    input.GraphGain = RoundedDefaultGain(input.PlotGain);
    input.ValueText = "3k";
    input.DatafileName = "HPFILTER.DAT";
    input.TodayText = "7 Dec 2026";
    return input;
}

// High resolution: 16384 solves and the 254-column trace, on every core.
void SquareHighEndToEnd(benchmark::State& state) {
    QImage picture = render::BlankTimeResponsePicture();
    for (auto _ : state) {
        const HarmonicTable table = Solve(TimeResponseKind::SquareWave, 64, 200, 0);
        render::DrawSquareWaveGraph(picture, PlotInput(table), table);
        benchmark::DoNotOptimize(picture.bits());
    }
}
BENCHMARK(SquareHighEndToEnd)->Unit(benchmark::kMillisecond)->UseRealTime();

// x 10: zero frequency and 32768 solves, and the 570-column trace, on every core.
void PulseX10EndToEnd(benchmark::State& state) {
    QImage picture = render::BlankTimeResponsePicture();
    for (auto _ : state) {
        const HarmonicTable table = Solve(TimeResponseKind::Pulse, 128, 0.01L / 1e-3L, 0);
        render::DrawPulseGraph(picture, PlotInput(table), table);
        benchmark::DoNotOptimize(picture.bits());
    }
}
BENCHMARK(PulseX10EndToEnd)->Unit(benchmark::kMillisecond)->UseRealTime();

// The 16384 solves of High on the given number of threads.
void SquareHighSolves(benchmark::State& state) {
    for (auto _ : state) {
        HarmonicTable table =
            Solve(TimeResponseKind::SquareWave, 64, 200, static_cast<int>(state.range(0)));
        benchmark::DoNotOptimize(table.gain.data());
    }
}
BENCHMARK(SquareHighSolves)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// The 32768 solves of the pulse x 10 of the 100-node ladder on the given number of threads.
void PulseX10Ladder100Solves(benchmark::State& state) {
    const LoadedCircuit circuit = bench::ParseText(bench::LadderDatafile());
    for (auto _ : state) {
        HarmonicTable table = Solve(circuit, TimeResponseKind::Pulse, 128, 0.01L / 1e-3L,
                                    static_cast<int>(state.range(0)));
        benchmark::DoNotOptimize(table.gain.data());
    }
}
BENCHMARK(PulseX10Ladder100Solves)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

// The 16384 solves of High for the dense 100-node mesh, on every core: the longest wait a
// circuit the program accepts can cause.
void SquareHighMesh100(benchmark::State& state) {
    const LoadedCircuit circuit = bench::ParseText(bench::Mesh100Datafile());
    for (auto _ : state) {
        HarmonicTable table = Solve(circuit, TimeResponseKind::SquareWave, 64, 200, 0);
        benchmark::DoNotOptimize(table.gain.data());
    }
}
BENCHMARK(SquareHighMesh100)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1);

void SquareHighTraceFolded(benchmark::State& state) {
    const HarmonicTable table = Solve(TimeResponseKind::SquareWave, 64, 200, 0);
    for (auto _ : state) {
        std::vector<long double> sums = SquareWaveSums(table);
        benchmark::DoNotOptimize(sums.data());
    }
}
BENCHMARK(SquareHighTraceFolded)->Unit(benchmark::kMillisecond);

void SquareHighTraceDirect(benchmark::State& state) {
    const HarmonicTable table = Solve(TimeResponseKind::SquareWave, 64, 200, 0);
    for (auto _ : state) {
        std::vector<long double> sums = SquareWaveSumsDirect(table);
        benchmark::DoNotOptimize(sums.data());
    }
}
BENCHMARK(SquareHighTraceDirect)->Unit(benchmark::kMillisecond)->Iterations(2);

void PulseX10TraceFolded(benchmark::State& state) {
    const HarmonicTable table = Solve(TimeResponseKind::Pulse, 128, 10, 0);
    for (auto _ : state) {
        std::vector<long double> sums = PulseSums(table, 5474, 20);
        benchmark::DoNotOptimize(sums.data());
    }
}
BENCHMARK(PulseX10TraceFolded)->Unit(benchmark::kMillisecond);

void PulseX10TraceDirect(benchmark::State& state) {
    const HarmonicTable table = Solve(TimeResponseKind::Pulse, 128, 10, 0);
    for (auto _ : state) {
        std::vector<long double> sums = PulseSumsDirect(table, 5474, 20);
        benchmark::DoNotOptimize(sums.data());
    }
}
BENCHMARK(PulseX10TraceDirect)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace
