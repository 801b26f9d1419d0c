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

int RunCheckCommand(CommandLine& line, CommandStreams streams);
int RunResponseCommand(CommandLine& line, CommandStreams streams);
int RunSweepCommand(CommandLine& line, CommandStreams streams);
int RunSetupCommand(CommandLine& line, CommandStreams streams);
int RunGraphCommand(CommandLine& line, CommandStreams streams);
int RunSquareCommand(CommandLine& line, CommandStreams streams);
int RunPulseCommand(CommandLine& line, CommandStreams streams);
int RunBodeCommand(CommandLine& line, CommandStreams streams);
int RunToleranceCommand(CommandLine& line, CommandStreams streams);
int RunSpiceCommand(CommandLine& line, CommandStreams streams);
int RunImportCommand(CommandLine& line, CommandStreams streams);
int RunNoiseCommand(CommandLine& line, CommandStreams streams);
int RunSensitivityCommand(CommandLine& line, CommandStreams streams);
int RunSchematicCommand(CommandLine& line, CommandStreams streams);

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

// Loads the Datafile of a computing command; prints the report and returns nothing when the
// Datafile has errors, as the program refuses to run such a circuit.
std::optional<ParsedDatafile> LoadGoodDatafile(const std::string& path, CommandStreams streams);

// The frequency scale of --fcode N, or of --from F --to F; a UsageError for anything else.
struct ScaleOptions {
    // Declares the options into this object, which therefore stays where it is.
    explicit ScaleOptions(CommandLine& line);
    ScaleOptions(const ScaleOptions&) = delete;
    ScaleOptions& operator=(const ScaleOptions&) = delete;
    FrequencyScale Scale() const;

    std::optional<std::string> fcode, from, to;
};

} // namespace kelvor::cli
