// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/commands.h"
#include "files/file_io.h"
#include "interchange/spice_import.h"
#include "text/date_text.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <ostream>

namespace kelvor::cli {

const char* const kImportHelp =
    "usage: kelvor-cli import DECK.cir --in NODE --out NODE [--common NODE]\n"
    "\n"
    "Writes a Datafile of a SPICE netlist to standard output: R, C, L, K (two coupled\n"
    "inductors) and G (voltage-controlled current source) elements, with subcircuits and\n"
    "parameters of plain numeric values expanded. The input node becomes node 1, the output\n"
    "node 2, the common node (default 0) 3; comment lines list every node's name. The\n"
    "voltage source that drives the input is dropped. Anything else is an error, listed with\n"
    "its line and the reason, and nothing is written.\n";

namespace {

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

int RunImportCommand(Arguments arguments, CommandStreams streams) {
    const std::optional<std::string> input = arguments.Value("--in");
    const std::optional<std::string> output = arguments.Value("--out");
    const std::optional<std::string> common = arguments.Value("--common");
    const std::vector<std::string> positional = arguments.Positional();
    if (positional.size() != 1) {
        throw UsageError{"import needs one netlist"};
    }
    const SpiceDeck deck = ReadSpiceDeck(ReadWholeFile(positional[0]));
    if (!input || !output) {
        std::string nodes;
        for (const std::string& node : CircuitNodeNames(deck)) {
            nodes += " " + node;
        }
        throw UsageError{"import needs --in and --out; the netlist's nodes are:" + nodes};
    }
    SpiceImportOptions options;
    options.inputNode = Lower(*input);
    options.outputNode = Lower(*output);
    options.commonNode = Lower(common.value_or("0"));
    options.deckName = std::filesystem::path(positional[0]).filename().string();
    options.today = TodayText();
    streams.out << ImportSpiceDeck(deck, options);
    return kExitOk;
}

} // namespace kelvor::cli
