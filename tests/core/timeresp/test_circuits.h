// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "circuit/datafile_reader.h"
#include "circuit/sample_datafile.h"
#include "files/file_io.h"
#include "solver/response.h"
#include "support/circuit_builder.h"

#include <stdexcept>

namespace kelvor::testing {

// Gain 1 and phase 0 at every frequency: the output follows the input through 1 ohm, unloaded.
inline LoadedCircuit Wire() {
    return CircuitBuilder(1, 2, 3).Add('R', {1, 2}, {1}).WithNoNodes(3).circuit();
}

// Nothing reaches the output: gain 0 at every frequency.
inline LoadedCircuit Open() {
    return CircuitBuilder(1, 2, 3).Add('R', {1, 3}, {1000}).WithNoNodes(3).circuit();
}

// R from input to output, C from output to common.
inline LoadedCircuit RcLowPass(long double resistance, long double capacitance) {
    return CircuitBuilder(1, 2, 3)
        .Add('R', {1, 2}, {resistance})
        .Add('C', {2, 3}, {capacitance})
        .circuit();
}

// A series resonant circuit taken across the capacitor: a peak and a ringing trace.
inline LoadedCircuit Resonant() {
    return CircuitBuilder(1, 2, 3)
        .Add('R', {1, 4}, {20})
        .Add('L', {4, 2}, {10e-3L})
        .Add('C', {2, 3}, {100e-9L})
        .circuit();
}

inline LoadedCircuit SampleCircuit() {
    CircuitState state;
    ParseOutcome outcome = ParseDatafileText(SampleDatafileText("7 Dec 2026"), state, "7 Dec 2026");
    if (!outcome.ok) {
        throw std::runtime_error("the sample Datafile does not parse");
    }
    return MakeLoadedCircuit(std::move(outcome.records), state);
}

// One of the examples shipped with the program, by file name.
inline LoadedCircuit ExampleCircuit(const std::string& name) {
    CircuitState state;
    ParseOutcome outcome = ParseDatafileText(
        ReadWholeFile(std::string(KELVOR_EXAMPLES_DIR) + "/" + name), state, "7 Dec 2026");
    if (!outcome.ok) {
        throw std::runtime_error(name + " does not parse");
    }
    return MakeLoadedCircuit(std::move(outcome.records), state);
}

// `sections` series resistors along a chain from the input, each followed by a capacitor to
// common; the output is the last node.
inline LoadedCircuit RcLadder(int sections, long double resistance, long double capacitance) {
    const int common = sections + 2;
    CircuitBuilder builder(1, sections + 1, common);
    for (int node = 1; node <= sections; ++node) {
        builder.Add('R', {node, node + 1}, {resistance});
        builder.Add('C', {node + 1, common}, {capacitance});
    }
    return builder.circuit();
}

} // namespace kelvor::testing
