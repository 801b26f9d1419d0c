// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kelvor {

// One element of a SPICE netlist after subcircuits and parameters have been expanded. Names and
// nodes are lower case; inside a subcircuit they carry the instance path ("x1.r2", "x1.mid"),
// and the ground node is "0".
struct SpiceElement {
    char type = ' ';                 // the first letter of the name: 'r', 'c', 'l', 'k', 'g', ...
    std::string name;                // with the instance path
    std::vector<std::string> nodes;  // the element's nodes; none for 'k'
    std::vector<std::string> fields; // what follows the nodes, parameters replaced by values
    int line = 0;                    // the deck's line (from 1) where the element stands
};

struct SpiceDeck {
    std::string title; // the first line
    std::vector<SpiceElement> elements;
    // Constructs that cannot be read, each as "line N: what: why".
    std::vector<std::string> problems;
};

// Reads a netlist: continuation lines, comments ("*" lines, "$ " and ";" to the line's end),
// .control blocks and the analysis and output commands (which describe no circuit) are taken
// care of; .subckt definitions are expanded where X lines call them; .param values and subcircuit
// parameters that are plain numbers replace {name}. Everything else is listed as a problem.
SpiceDeck ReadSpiceDeck(std::string_view text);

} // namespace kelvor
