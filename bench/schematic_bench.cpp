// SPDX-License-Identifier: GPL-3.0-or-later
#include "render/schematic_painter.h"
#include "schematic/schematic_circuit.h"
#include "schematic/schematic_layout.h"
#include "solver/loaded_datafile.h"

#include <algorithm>
#include <benchmark/benchmark.h>
#include <random>
#include <stdexcept>
#include <string>

namespace {

using namespace kelvor;

schematic::Circuit CircuitOf(const std::string& body, int in, int out, int com) {
    const std::string text = "Bench Rev. 1 7 Dec 2026\r\n\r\nNodeIn = " + std::to_string(in) +
                             " NodeOut = " + std::to_string(out) +
                             " NodeCom = " + std::to_string(com) + "\r\n" + body;
    const LoadedDatafile datafile = LoadDatafileText(text, "7 Dec 2026");
    if (!datafile.ok) {
        throw std::runtime_error("bench circuit does not parse: " + datafile.report);
    }
    return schematic::CircuitFromParse(datafile);
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

// 100 nodes: a chain, 200 parts between random nodes and a transistor every tenth: many loops,
// far past what the placer untangles.
schematic::Circuit Dense() {
    std::mt19937 random(7);
    auto node = [&] { return std::to_string(1 + random() % 100); };
    std::string body;
    for (int node1 = 1; node1 < 100; ++node1) {
        body += "R " + std::to_string(node1) + " " + std::to_string(node1 + 1) + " 1k\r\n";
    }
    for (int i = 0; i < 200; ++i) {
        const std::string a = node();
        std::string b = node();
        while (b == a) {
            b = node();
        }
        const char* kinds[] = {"C ", "L ", "R "};
        body += kinds[i % 3] + a + " " + b + " 1n\r\n";
        if (i % 10 == 0) {
            body += "B " + a + " " + b + " " + node() + " 100 1m\r\n";
        }
    }
    return CircuitOf(body, 1, 50, 100);
}

// Laid out and painted whole into a full-HD picture, as the window shows it after Fit.
void LayOutAndDraw(benchmark::State& state, const schematic::Circuit& circuit) {
    for (auto _ : state) {
        const schematic::Drawing drawing = schematic::LayOut(circuit);
        const schematic::Box& b = drawing.bounds;
        const double scale = std::min(1920.0 / (b.x1 - b.x0), 1080.0 / (b.y1 - b.y0));
        const QImage picture = render::SchematicImage(drawing, scale);
        benchmark::DoNotOptimize(picture.constBits());
    }
}

void SchematicLadder100(benchmark::State& state) {
    LayOutAndDraw(state, Ladder());
}

void SchematicDense100(benchmark::State& state) {
    LayOutAndDraw(state, Dense());
}

} // namespace

BENCHMARK(SchematicLadder100)->Unit(benchmark::kMillisecond);
BENCHMARK(SchematicDense100)->Unit(benchmark::kMillisecond);
