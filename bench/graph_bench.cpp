// SPDX-License-Identifier: GPL-3.0-or-later
#include "analysis/frequency_scale.h"
#include "analysis/scale_proposal.h"
#include "analysis/sweep.h"
#include "bench_support.h"
#include "circuit/datafile_reader.h"
#include "circuit/sample_datafile.h"
#include "messages.h"
#include "render/amplitude_graph.h"
#include "solver/response.h"

#include <benchmark/benchmark.h>
#include <stdexcept>
#include <string>

namespace {

using namespace kelvor;

using bench::QuietMessages;
using bench::SampleCircuit;

render::AmplitudeGraphInput GraphInput(const SweepResult& sweep, bool grid, bool bold) {
    const ScaleProposal proposal = ProposeScale(sweep.SweepMinDb, sweep.SweepMaxDb);
    render::AmplitudeGraphInput input;
    input.FCode = 8;
    input.SweepGain = sweep.SweepGain;
    input.GraphScale = proposal.GraphScale;
    input.GraphTop = proposal.GraphTop;
    input.GridLinesPending = grid;
    input.Bold = bold;
    input.DatafileName = "HPFILTER.DAT";
    input.RevisionNumber = 1;
    input.TodayText = "7 Dec 2026";
    return input;
}

// What the user waits for between "Con&tinue" and the graph, less the windows: the 620-column
// sweep of the sample and the drawing of its graph, grid included, on a clean picture.
void SweepAndDrawSampleGraph(benchmark::State& state) {
    const LoadedCircuit circuit = SampleCircuit();
    const FrequencyScale scale = SetupFrequencyScale(8, 0, 0);
    ResponseSolver solver;
    QuietMessages messages;
    for (auto _ : state) {
        const SweepResult sweep = RunSweep(scale, circuit, solver, messages);
        QImage picture = render::BlankAmplitudePicture();
        render::DrawAmplitudeGraph(picture, GraphInput(sweep, true, false));
        benchmark::DoNotOptimize(picture.constBits());
    }
}
BENCHMARK(SweepAndDrawSampleGraph)->Unit(benchmark::kMillisecond);

// The drawing alone, bold, over a picture that already holds a graph (superimposing).
void DrawSampleGraphOnly(benchmark::State& state) {
    const LoadedCircuit circuit = SampleCircuit();
    ResponseSolver solver;
    QuietMessages messages;
    const SweepResult sweep = RunSweep(SetupFrequencyScale(8, 0, 0), circuit, solver, messages);
    const render::AmplitudeGraphInput input = GraphInput(sweep, false, true);
    QImage picture = render::BlankAmplitudePicture();
    for (auto _ : state) {
        render::DrawAmplitudeGraph(picture, input);
        benchmark::DoNotOptimize(picture.constBits());
    }
}
BENCHMARK(DrawSampleGraphOnly)->Unit(benchmark::kMicrosecond);

} // namespace
