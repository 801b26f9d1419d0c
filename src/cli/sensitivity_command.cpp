// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/commands.h"
#include "sensitivity/sensitivity.h"

#include <ostream>

namespace kelvor::cli {

const char* const kSensitivityHelp =
    "usage: kelvor-cli sensitivity FILE.dat --at F [--csv]\n"
    "\n"
    "How much each component value moves the response at one frequency: the change of\n"
    "gain in dB and of phase in degrees for a 1 % increase of the value, for every value\n"
    "the models read, largest gain change first.\n"
    "  --at F   the frequency, above 0 (1k, 2.5M)\n"
    "  --csv    comma-separated values, full precision, with a header row\n";

int RunSensitivityCommand(CommandLine& line, CommandStreams streams) {
    bool csv = false;
    std::optional<std::string> at;
    line.Flag("--csv", csv);
    line.Value("--at", at);
    const std::vector<std::string> positional = line.Parse();
    if (positional.size() != 1) {
        throw UsageError{"sensitivity takes exactly one Datafile"};
    }
    if (!at) {
        throw UsageError{"--at F is needed"};
    }
    const long double frequency = ParseFrequencyArgument(*at);
    if (!(frequency > 0)) {
        throw UsageError{"--at takes a frequency above 0"};
    }
    const std::optional<ParsedDatafile> datafile = LoadGoodDatafile(positional[0], streams);
    if (!datafile) {
        return kExitDatafileErrors;
    }
    const SensitivityAnalysis analysis =
        RunSensitivityAnalysis(datafile->loaded.circuit, datafile->loaded.sourceLines, frequency);
    streams.out << (csv ? SensitivityCsvText(analysis) : SensitivityTableText(analysis));
    return kExitOk;
}

} // namespace kelvor::cli
