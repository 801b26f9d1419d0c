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

int RunCheckCommand(CommandLine& line, CommandStreams streams) {
    bool list = false;
    line.Flag("--list", list);
    const std::vector<std::string> positional = line.Parse();
    if (positional.size() != 1) {
        throw UsageError{"check takes exactly one Datafile"};
    }
    const ParsedDatafile parsed = ParseDatafileAt(positional[0]);
    if (parsed.loaded.ok) {
        streams.out << "ok\n";
    } else {
        streams.out << ForTerminal(parsed.loaded.report) << '\n';
    }
    if (list) {
        streams.out << ForTerminal(BuildRecordListing(parsed.loaded.circuit.records, parsed.name,
                                                      parsed.loaded.state.RevisionNumber));
    }
    return parsed.loaded.ok ? kExitOk : kExitDatafileErrors;
}

std::optional<ParsedDatafile> LoadGoodDatafile(const std::string& path, CommandStreams streams) {
    ParsedDatafile datafile = ParseDatafileAt(path);
    if (!datafile.loaded.ok) {
        streams.err << "Cannot Run  -  Error in Datafile" << ForTerminal(datafile.loaded.report)
                    << '\n';
        return std::nullopt;
    }
    return datafile;
}

} // namespace kelvor::cli
