#pragma once

#include "cli/cli.h"
#include "cli/cli_support.h"

#include <iosfwd>

namespace kelvor::cli {

struct CommandStreams {
    std::ostream& out;
    std::ostream& err;
};

int RunCheckCommand(Arguments arguments, CommandStreams streams);
int RunResponseCommand(Arguments arguments, CommandStreams streams);
int RunSweepCommand(Arguments arguments, CommandStreams streams);
int RunSetupCommand(Arguments arguments, CommandStreams streams);

extern const char* const kCheckHelp;
extern const char* const kResponseHelp;
extern const char* const kSweepHelp;
extern const char* const kSetupHelp;

// Loads the Datafile of a computing command; prints the report and returns false when the
// Datafile has errors, as the program refuses to run such a circuit.
bool LoadGoodCircuit(const std::string& path, LoadedCircuit& circuit, CommandStreams streams);

} // namespace kelvor::cli
