// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/frequency_scale.h"
#include "analysis/frequency_solve.h"
#include "analysis/sweep.h"
#include "bench_support.h"
#include "circuit/sample_datafile.h"
#include "solver/response.h"

#include <benchmark/benchmark.h>
#include <string>
#include <vector>

namespace {

using namespace kelvor;

using QuietMessages = bench::QuietMessages;
using bench::ParseText;

void Response(benchmark::State& state, const std::string& datafile) {
    const LoadedCircuit circuit = ParseText(datafile);
    ResponseSolver solver;
    QuietMessages messages;
    ResponsePoint point;
    for (auto _ : state) {
        solver.ComputeResponse(circuit, 1000, ResponseForm::Display, point, messages);
        benchmark::DoNotOptimize(point);
    }
}
BENCHMARK_CAPTURE(Response, Sample, SampleDatafileText("7 Dec 2026"));
BENCHMARK_CAPTURE(Response, Ladder100, bench::LadderDatafile())->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Response, Dense30, bench::MeshDatafile(30))->Unit(benchmark::kMicrosecond);
BENCHMARK_CAPTURE(Response, Mesh100, bench::Mesh100Datafile())->Unit(benchmark::kMillisecond);

// 200 frequencies of the 100-node circuits on one thread and on two: how far both cores pay.
void Frequencies(benchmark::State& state, const std::string& datafile) {
    const LoadedCircuit circuit = ParseText(datafile);
    std::vector<long double> frequencies;
    for (int index = 0; index < 200; ++index) {
        frequencies.push_back(10 + 50 * index);
    }
    ResponseSolver solver;
    QuietMessages messages;
    for (auto _ : state) {
        FrequencySolve solve = SolveFrequencies(circuit, frequencies, ResponseForm::Display, solver,
                                                messages, {}, static_cast<int>(state.range(0)));
        benchmark::DoNotOptimize(solve);
    }
}
BENCHMARK_CAPTURE(Frequencies, Ladder100, bench::LadderDatafile())
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();
BENCHMARK_CAPTURE(Frequencies, Mesh100, bench::Mesh100Datafile())
    ->Arg(1)
    ->Arg(2)
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime()
    ->Iterations(2);

// The whole 620-column sweep of the 100 Hz to 1 kHz scale, as the scale window runs it, on
// the given number of threads (0: one per core).
void Sweep(benchmark::State& state, const std::string& datafile) {
    const LoadedCircuit circuit = ParseText(datafile);
    const FrequencyScale scale = SetupFrequencyScale(8, 0, 0);
    ResponseSolver solver;
    QuietMessages messages;
    for (auto _ : state) {
        SweepResult result =
            RunSweep(scale, circuit, solver, messages, {}, static_cast<int>(state.range(0)));
        benchmark::DoNotOptimize(result);
    }
}

void SampleSweep(benchmark::State& state) {
    Sweep(state, SampleDatafileText("7 Dec 2026"));
}
BENCHMARK(SampleSweep)->Arg(0)->Unit(benchmark::kMicrosecond)->UseRealTime();

void Mesh100Sweep(benchmark::State& state) {
    Sweep(state, bench::Mesh100Datafile());
}
BENCHMARK(Mesh100Sweep)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
