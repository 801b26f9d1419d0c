// SPDX-License-Identifier: GPL-3.0-or-later
#include "circuit/record_listing.h"
#include "cli/commands.h"

#include <ostream>

namespace kelvor::cli {

const char* const kCheckHelp =
    "usage: kelvor-cli check FILE.dat [--list]\n"
    "\n"
    "Parses a Datafile and prints its error report, or \"ok\".\n"
    "  --list   also print the record listing (every record in absolute units)\n"
    "Exit status: 0 good Datafile, 1 Datafile with errors, 2 usage or file error.\n";

int RunCheckCommand(Arguments arguments, CommandStreams streams) {
    const bool list = arguments.Flag("--list");
    const std::vector<std::string> positional = arguments.Positional();
    if (positional.size() != 1) {
        throw UsageError{"check takes exactly one Datafile"};
    }
    const ParsedDatafile parsed = ParseDatafileAt(positional[0]);
    if (parsed.outcome.ok) {
        streams.out << "ok\n";
    } else {
        streams.out << ForTerminal(parsed.outcome.report) << '\n';
    }
    if (list) {
        streams.out << ForTerminal(
            BuildRecordListing(parsed.outcome.records, parsed.name, parsed.state.RevisionNumber));
    }
    return parsed.outcome.ok ? kExitOk : kExitDatafileErrors;
}

bool LoadGoodCircuit(const std::string& path, LoadedCircuit& circuit, CommandStreams streams,
                     ParsedDatafile* parsed) {
    ParsedDatafile parse = ParseDatafileAt(path);
    if (!parse.outcome.ok) {
        streams.err << "Cannot Run  -  Error in Datafile" << ForTerminal(parse.outcome.report)
                    << '\n';
        return false;
    }
    circuit = MakeLoadedCircuit(std::move(parse.outcome.records), parse.state);
    if (parsed != nullptr) {
        *parsed = std::move(parse);
    }
    return true;
}

} // namespace kelvor::cli
