// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "circuit/datafile_reader.h"
#include "circuit/sample_datafile.h"
#include "files/file_io.h"
#include "messages.h"
#include "solver/response.h"

#include <cstddef>
#include <stdexcept>
#include <string>

namespace kelvor::bench {

// Nobody is there to read a message during a measurement.
using kelvor::QuietMessages;

inline LoadedCircuit ParseText(const std::string& text) {
    CircuitState state;
    ParseOutcome outcome = ParseDatafileText(text, state, "7 Dec 2026");
    if (!outcome.ok) {
        throw std::runtime_error("benchmark circuit does not parse:" + outcome.report);
    }
    return MakeLoadedCircuit(std::move(outcome.records), state);
}

inline LoadedCircuit SampleCircuit() {
    return ParseText(SampleDatafileText("7 Dec 2026"));
}

// One of the examples shipped with the program, by file name.
inline LoadedCircuit ExampleCircuit(const std::string& name) {
    return ParseText(ReadWholeFile(std::string(KELVOR_EXAMPLES_DIR) + "/" + name));
}

// An RC ladder of 100 nodes: series resistors from node 1 along the chain, a capacitor from
// every node to the common node 100; input 1, output 99.
inline std::string LadderDatafile() {
    std::string text = "Ladder Rev. 1 7 Dec 2026\r\n\r\nNodeIn = 1 NodeOut = 99 NodeCom = 100\r\n";
    for (int node = 1; node < 99; ++node) {
        text += "R " + std::to_string(node) + " " + std::to_string(node + 1) + " 1k\r\n";
        text += "C " + std::to_string(node + 1) + " 100 10n\r\n";
    }
    return text;
}

// Every pair of `nodes` nodes joined, by a resistor or a capacitor in turn: the matrix is full
// from the start. Input 1, output nodes / 2, common the last node.
inline std::string MeshDatafile(int nodes) {
    std::string text =
        "Mesh Rev. 1 7 Dec 2026\r\n\r\nNodeIn = 1 NodeOut = " + std::to_string(nodes / 2) +
        " NodeCom = " + std::to_string(nodes) + "\r\n";
    for (int a = 1; a < nodes; ++a) {
        for (int b = a + 1; b <= nodes; ++b) {
            const std::string nodes = std::to_string(a) + " " + std::to_string(b);
            text += (a + b) % 2 == 0
                        ? "R " + nodes + " " + std::to_string(a + b) + "k\r\n"
                        : "C " + nodes + " " + std::to_string(a * b % 97 + 1) + "n\r\n";
        }
    }
    return text;
}

// The largest circuit the program accepts, its matrix full: the slowest point there is.
inline std::string Mesh100Datafile() {
    return MeshDatafile(100);
}

inline constexpr std::size_t kHelpFileBytes = 1 << 20;

// A 1 MB help file made of one repeated piece, after an optional preamble.
inline std::string HelpFile(const std::string& preamble, const std::string& piece) {
    std::string rtf = "{\\rtf1\\ansi " + preamble;
    while (rtf.size() < kHelpFileBytes) {
        rtf += piece;
    }
    return rtf + "}";
}

} // namespace kelvor::bench
