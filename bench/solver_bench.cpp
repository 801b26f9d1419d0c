// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/frequency_scale.h"
#include "analysis/sweep.h"
#include "bench_support.h"
#include "circuit/sample_datafile.h"
#include "solver/response.h"

#include <benchmark/benchmark.h>
#include <string>

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
BENCHMARK_CAPTURE(Response, Mesh100, bench::Mesh100Datafile())->Unit(benchmark::kMillisecond);

// The whole 620-column sweep of the 100 Hz to 1 kHz scale, as the scale window runs it.
void Sweep(benchmark::State& state, const std::string& datafile) {
    const LoadedCircuit circuit = ParseText(datafile);
    const FrequencyScale scale = SetupFrequencyScale(8, 0, 0);
    ResponseSolver solver;
    QuietMessages messages;
    for (auto _ : state) {
        SweepResult result = RunSweep(scale, circuit, solver, messages);
        benchmark::DoNotOptimize(result);
    }
}

void SampleSweep(benchmark::State& state) {
    Sweep(state, SampleDatafileText("7 Dec 2026"));
}
BENCHMARK(SampleSweep)->Unit(benchmark::kMicrosecond)->UseRealTime();

void Mesh100Sweep(benchmark::State& state) {
    Sweep(state, bench::Mesh100Datafile());
}
BENCHMARK(Mesh100Sweep)->Unit(benchmark::kMillisecond)->UseRealTime();

} // namespace
