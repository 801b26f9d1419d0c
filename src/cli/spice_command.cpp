// SPDX-License-Identifier: GPL-3.0-or-later
#include "bode/bode_grid.h"
#include "cli/commands.h"
#include "files/file_io.h"
#include "interchange/spice_export.h"

#include <filesystem>
#include <ostream>

namespace kelvor::cli {

const char* const kSpiceHelp =
    "usage: kelvor-cli spice FILE.dat [--ac-from F --ac-to F --ppd N] [--at F]\n"
    "\n"
    "Writes a SPICE netlist of the circuit to standard output: every component as the\n"
    "linear elements its model stands for, the common node as node 0, 1 V AC at the input\n"
    "node, the output node printed, and an .ac sweep. Comments name the Datafile lines.\n"
    "  --ac-from F --ac-to F   the sweep, in hertz (default 10 to 100k)\n"
    "  --ppd N                 points per decade, 1 to 2000 (default 10)\n"
    "  --at F                  where a transformer's coupling is taken (default: the\n"
    "                          geometric middle of the sweep); the netlist of a circuit with\n"
    "                          a transformer is exact at that frequency only\n";

namespace {

// SPICE reads its numbers as doubles: a frequency beyond them makes a deck it cannot read.
void RequireSpiceFrequency(long double frequency) {
    if (frequency < 1e-300L || frequency > 1e300L) {
        throw UsageError{"frequencies must lie from 1e-300 to 1e300 Hz for SPICE"};
    }
}

} // namespace

int RunSpiceCommand(CommandLine& line, CommandStreams streams) {
    std::optional<std::string> from, to, points, at;
    line.Value("--ac-from", from);
    line.Value("--ac-to", to);
    line.Value("--ppd", points);
    line.Value("--at", at);
    const std::vector<std::string> positional = line.Parse();
    SpiceExportOptions options;
    if (from) {
        options.acFrom = ParseFrequencyArgument(*from);
    }
    if (to) {
        options.acTo = ParseFrequencyArgument(*to);
    }
    if (points) {
        // As many as the Bode analyser takes: more only make ngspice run for ever.
        options.pointsPerDecade = IntegerOptionWithin("--ppd", *points, 1, kMostPointsPerDecade);
    }
    if (at) {
        options.couplingFrequency = ParseFrequencyArgument(*at);
        if (options.couplingFrequency == 0) {
            throw UsageError{"--at must be above 0 Hz: at 0 Hz a transformer has no coupling"};
        }
    }
    if (positional.size() != 1) {
        throw UsageError{"spice needs one Datafile"};
    }
    if (!(options.acFrom > 0 && options.acTo >= options.acFrom)) {
        throw UsageError{"the sweep needs 0 < --ac-from <= --ac-to"};
    }
    RequireSpiceFrequency(options.acFrom);
    RequireSpiceFrequency(options.acTo);
    if (options.couplingFrequency != 0) { // 0: the middle of the sweep
        RequireSpiceFrequency(options.couplingFrequency);
    }
    const ParsedDatafile parsed = ParseDatafileAt(positional[0]);
    if (!parsed.loaded.ok) {
        streams.err << "Cannot Run  -  Error in Datafile" << ForTerminal(parsed.loaded.report)
                    << '\n';
        return kExitDatafileErrors;
    }
    streams.out << WriteSpiceNetlist(parsed.name, parsed.loaded.bytes, options);
    return kExitOk;
}

} // namespace kelvor::cli
