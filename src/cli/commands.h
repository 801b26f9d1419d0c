// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/frequency_scale.h"
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
int RunGraphCommand(Arguments arguments, CommandStreams streams);
int RunSquareCommand(Arguments arguments, CommandStreams streams);
int RunPulseCommand(Arguments arguments, CommandStreams streams);

extern const char* const kCheckHelp;
extern const char* const kResponseHelp;
extern const char* const kSweepHelp;
extern const char* const kSetupHelp;
extern const char* const kGraphHelp;
extern const char* const kSquareHelp;
extern const char* const kPulseHelp;

// Loads the Datafile of a computing command; prints the report and returns false when the
// Datafile has errors, as the program refuses to run such a circuit. The Datafile's name
// without its folder and the state of the parse are left in `parsed` when it is given.
bool LoadGoodCircuit(const std::string& path, LoadedCircuit& circuit, CommandStreams streams,
                     ParsedDatafile* parsed = nullptr);

// The frequency scale of --fcode N, or of --from F --to F; a UsageError for anything else.
FrequencyScale ScaleFromArguments(Arguments& arguments);

} // namespace kelvor::cli
