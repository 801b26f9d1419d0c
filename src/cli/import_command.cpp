// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/commands.h"
#include "files/file_io.h"
#include "interchange/spice_fidelity.h"
#include "interchange/spice_import.h"
#include "text/date_text.h"
#include "text/eng_value.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <filesystem>
#include <ostream>

namespace kelvor::cli {

const char* const kImportHelp =
    "usage: kelvor-cli import DECK.cir --in NODE --out NODE [--common NODE]\n"
    "                         [--range F1 F2] [--max-deviation DB]\n"
    "\n"
    "Writes a Datafile of a SPICE netlist to standard output: R, C, L (with Rser, Rpar,\n"
    "Cpar), K (two coupled inductors), G (voltage-controlled current source) and E\n"
    "(voltage-controlled voltage source against the common node, as an op-amp) elements,\n"
    "with subcircuits and parameters of plain numeric values expanded; 0 V sources and\n"
    "0 ohm resistors join their nodes. The input node becomes node 1, the output node 2,\n"
    "the common node (default 0; gnd is 0 too) 3; comment lines list every node's name. The\n"
    "voltage source that drives the input is dropped. Lines that do not change the AC\n"
    "response are skipped and listed on standard error. Anything else is an error, listed\n"
    "with its line and the reason, and nothing is written.\n"
    "\n"
    "Then the Datafile and the deck's own ideal elements are solved over the deck's .ac\n"
    "range, and standard error gets the largest difference between them (the Fidelity line):\n"
    "  --range F1 F2        compare from F1 to F2 Hz instead (default: the .ac range, else\n"
    "                       10 to 100k)\n"
    "  --max-deviation DB   above this difference in gain nothing is written (exit 3)\n";

namespace {

// The import was refused because its Datafile strays too far from the deck.
constexpr int kExitBeyondMaxDeviation = 3;

std::optional<AcRange> RangeArgument(Arguments& arguments) {
    const std::optional<std::vector<std::string>> range = arguments.Values("--range", 2);
    if (!range) {
        return std::nullopt;
    }
    const AcRange given{ParseFrequencyArgument((*range)[0]), ParseFrequencyArgument((*range)[1])};
    if (!(given.from > 0 && given.to >= given.from)) {
        throw UsageError{"--range needs 0 < F1 <= F2"};
    }
    return given;
}

} // namespace

int RunImportCommand(Arguments arguments, CommandStreams streams) {
    const std::optional<std::string> input = arguments.Value("--in");
    const std::optional<std::string> output = arguments.Value("--out");
    const std::optional<std::string> common = arguments.Value("--common");
    const std::optional<AcRange> range = RangeArgument(arguments);
    const std::optional<std::string> maxDeviationText = arguments.Value("--max-deviation");
    std::optional<long double> maxDeviation;
    if (maxDeviationText) {
        bool ok = true;
        maxDeviation = ParseEngValue(*maxDeviationText, ok);
        if (!ok || !(*maxDeviation >= 0)) {
            throw UsageError{"--max-deviation needs a difference in dB, 0 or more: " +
                             *maxDeviationText};
        }
    }
    const std::vector<std::string> positional = arguments.Positional();
    if (positional.size() != 1) {
        throw UsageError{"import needs one netlist"};
    }
    const SpiceDeck deck = ReadSpiceDeck(ReadWholeFile(positional[0]));
    if (!input || !output) {
        std::string nodes;
        for (const std::string& node : CircuitNodeNames(deck)) {
            nodes += " " + SpelledInDeck(deck, node);
        }
        throw UsageError{"import needs --in and --out; the netlist's nodes are:" + nodes};
    }
    SpiceImportOptions options;
    options.inputNode = *input;
    options.outputNode = *output;
    options.commonNode = common.value_or("0");
    options.deckName = std::filesystem::path(positional[0]).filename().string();
    options.today = TodayText();
    const SpiceImport imported = ImportSpiceDeck(deck, options);
    for (const std::string& note : imported.notes) {
        streams.err << "note: " << ForTerminal(note) << '\n';
    }
    const SpiceFidelity fidelity = MeasureFidelity(imported, FidelityRange(deck, range));
    streams.err << ForTerminal(FidelityLine(fidelity)) << '\n';
    if (maxDeviation && !(fidelity.failure.empty() && fidelity.gainDb <= *maxDeviation)) {
        streams.err << "import: the Datafile differs from the deck by more than --max-deviation "
                    << ForTerminal(*maxDeviationText) << " dB; nothing written\n";
        return kExitBeyondMaxDeviation;
    }
    if (FidelityWarns(fidelity)) {
        streams.err << "warning: " << kFidelityWarning << '\n';
    }
    streams.out << imported.datafile;
    return kExitOk;
}

} // namespace kelvor::cli
