// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <map>
#include <optional>
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
    std::string spelled;             // the name as the deck spells it, for messages
    std::vector<std::string> nodes;  // the element's nodes; none for 'k'
    std::vector<std::string> fields; // what follows the nodes, parameters replaced by values
    int line = 0;                    // the deck's line (from 1) where the element stands
    // The Datafile line this program's export wrote the element for ("$ line N"); 0 when the
    // element carries no such tag or stands inside a subcircuit.
    int exportedFrom = 0;
};

struct AcRange {
    long double from = 0;
    long double to = 0;
};

struct SpiceDeck {
    std::string title; // the first line; empty when the deck starts with its circuit
    std::vector<SpiceElement> elements;
    // Constructs that cannot be read, each as "line N: what: why", in line order.
    std::vector<std::string> problems;
    // Lines read but left out because they do not change an AC response, each with the reason.
    std::vector<std::string> notes;
    std::optional<AcRange> acRange;        // the .ac sweep
    std::vector<std::string> printedNodes; // the nodes of .print, .plot and .probe lines
    // A deck this program exported: its Datafile lines by number ("* line N: text"), and the
    // Datafile's common node, which the deck calls 0. Empty and 0 for any other deck.
    std::map<int, std::string> exportedLines;
    int exportedCommonNode = 0;
    // The deck's words and the names inside them ("{Rload}", "Rload=1k"), by their lower-case
    // form, as first written: the deck is read without regard to case, messages spell names as
    // the deck does.
    std::map<std::string, std::string> spellings;
};

// The form in which the deck's names are compared: SPICE reads them without regard to case.
std::string SpiceNameKey(std::string_view name);

// The word as the deck first spells it; the word itself when the deck never wrote it so.
const std::string& SpelledInDeck(const SpiceDeck& deck, const std::string& word);

// Reads a netlist: continuation lines, comments ("*" lines, "$ " and ";" to the line's end),
// .control blocks and the analysis and output commands (which describe no circuit) are taken
// care of; .subckt definitions are expanded where X lines call them; .param values and subcircuit
// parameters that are plain numbers replace {name}. Everything else is listed as a problem.
SpiceDeck ReadSpiceDeck(std::string_view text);

// Whether the text is a plain SPICE number, scale and unit letters included ("4.7k", "1e-3F").
bool IsPlainSpiceNumber(std::string_view text);

} // namespace kelvor
