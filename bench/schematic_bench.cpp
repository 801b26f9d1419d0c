// SPDX-License-Identifier: GPL-3.0-or-later
#include "circuit/datafile_reader.h"
#include "render/schematic_painter.h"
#include "schematic/schematic_circuit.h"
#include "schematic/schematic_layout.h"

#include <benchmark/benchmark.h>
#include <stdexcept>
#include <string>

namespace {

using namespace kelvor;

schematic::Circuit CircuitOf(const std::string& body, int in, int out, int com) {
    const std::string text = "Bench Rev. 1 7 Dec 2026\r\n\r\nNodeIn = " + std::to_string(in) +
                             " NodeOut = " + std::to_string(out) +
                             " NodeCom = " + std::to_string(com) + "\r\n" + body;
    CircuitState state;
    const ParseOutcome outcome = ParseDatafileText(text, state, "7 Dec 2026");
    if (!outcome.ok) {
        throw std::runtime_error("bench circuit does not parse: " + outcome.report);
    }
    return schematic::CircuitFromParse(outcome, state);
}

// R from each node to the next, C from each to common: 100 nodes.
schematic::Circuit Ladder() {
    std::string body;
    for (int node = 1; node < 99; ++node) {
        body += "R " + std::to_string(node) + " " + std::to_string(node + 1) + " 1k\r\n";
        body += "C " + std::to_string(node + 1) + " 100 1n\r\n";
    }
    return CircuitOf(body, 1, 99, 100);
}

void LayOutAndDraw(benchmark::State& state, const schematic::Circuit& circuit) {
    for (auto _ : state) {
        const schematic::Drawing drawing = schematic::LayOut(circuit);
        const QImage picture = render::SchematicImage(drawing, 1.0);
        benchmark::DoNotOptimize(picture.constBits());
    }
}

void SchematicLadder100(benchmark::State& state) {
    LayOutAndDraw(state, Ladder());
}

} // namespace

BENCHMARK(SchematicLadder100)->Unit(benchmark::kMillisecond);
