#include "analysis/frequency_scale.h"
#include "analysis/sweep.h"
#include "bench_support.h"
#include "circuit/datafile_reader.h"
#include "circuit/sample_datafile.h"
#include "messages.h"
#include "solver/response.h"

#include <benchmark/benchmark.h>
#include <stdexcept>
#include <string>

namespace {

using namespace kelvor;

using SilentMessages = bench::QuietMessages;
using bench::ParseText;

// An RC ladder of 100 nodes: series resistors from node 1 along the chain, a capacitor from
// every node to the common node 100; input 1, output 99.
std::string LadderDatafile() {
    std::string text = "Ladder Rev. 1 7 Dec 2026\r\n\r\nNodeIn = 1 NodeOut = 99 NodeCom = 100\r\n";
    for (int node = 1; node < 99; ++node) {
        text += "R " + std::to_string(node) + " " + std::to_string(node + 1) + " 1k\r\n";
        text += "C " + std::to_string(node + 1) + " 100 10n\r\n";
    }
    return text;
}

void Response(benchmark::State& state, const std::string& datafile) {
    const LoadedCircuit circuit = ParseText(datafile);
    ResponseSolver solver;
    SilentMessages messages;
    ResponsePoint point;
    for (auto _ : state) {
        solver.ComputeResponse(circuit, 1000, ResponseForm::Display, point, messages);
        benchmark::DoNotOptimize(point);
    }
}
BENCHMARK_CAPTURE(Response, Sample, SampleDatafileText("7 Dec 2026"));
BENCHMARK_CAPTURE(Response, Ladder100, LadderDatafile())->Unit(benchmark::kMicrosecond);

void SampleSweep(benchmark::State& state) {
    const LoadedCircuit circuit = ParseText(SampleDatafileText("7 Dec 2026"));
    const FrequencyScale scale = SetupFrequencyScale(8, 0, 0);
    ResponseSolver solver;
    SilentMessages messages;
    for (auto _ : state) {
        SweepResult result = RunSweep(scale, circuit, solver, messages);
        benchmark::DoNotOptimize(result);
    }
}
BENCHMARK(SampleSweep)->Unit(benchmark::kMicrosecond);

} // namespace
