// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "analysis/frequency_scale.h"
#include "cli/cli.h"
#include "cli/cli_support.h"

#include <iosfwd>
#include <optional>

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
int RunBodeCommand(Arguments arguments, CommandStreams streams);
int RunToleranceCommand(Arguments arguments, CommandStreams streams);
int RunSpiceCommand(Arguments arguments, CommandStreams streams);
int RunImportCommand(Arguments arguments, CommandStreams streams);
int RunNoiseCommand(Arguments arguments, CommandStreams streams);
int RunSensitivityCommand(Arguments arguments, CommandStreams streams);
int RunSchematicCommand(Arguments arguments, CommandStreams streams);

extern const char* const kCheckHelp;
extern const char* const kResponseHelp;
extern const char* const kSweepHelp;
extern const char* const kSetupHelp;
extern const char* const kGraphHelp;
extern const char* const kSquareHelp;
extern const char* const kPulseHelp;
extern const char* const kBodeHelp;
extern const char* const kToleranceHelp;
extern const char* const kSpiceHelp;
extern const char* const kImportHelp;
extern const char* const kNoiseHelp;
extern const char* const kSensitivityHelp;
extern const char* const kSchematicHelp;

// The Datafile of a computing command: its name without its folder and its parse, and the
// circuit loaded from it.
struct GoodDatafile {
    ParsedDatafile parsed;
    LoadedCircuit circuit;
};

// Loads the Datafile of a computing command; prints the report and returns nothing when the
// Datafile has errors, as the program refuses to run such a circuit.
std::optional<GoodDatafile> LoadGoodDatafile(const std::string& path, CommandStreams streams);

// The frequency scale of --fcode N, or of --from F --to F; a UsageError for anything else.
FrequencyScale ScaleFromArguments(Arguments& arguments);

} // namespace kelvor::cli
