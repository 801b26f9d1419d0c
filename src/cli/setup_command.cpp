// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/commands.h"
#include "kelvor_error.h"
#include "settings/settings_file.h"
#include "text/date_text.h"

#include <filesystem>
#include <ostream>
#include <system_error>

namespace kelvor::cli {

const char* const kSetupHelp =
    "usage: kelvor-cli setup\n"
    "\n"
    "Does in the current folder what the program does when it starts: reads KELVOR.INI\n"
    "(defaults when it is missing), writes the sample Datafile HPFILTER.DAT when the\n"
    "remembered Datafile and the sample are both missing, and writes KELVOR.INI back.\n"
    "Prints the name of the current Datafile.\n";

int RunSetupCommand(Arguments arguments, CommandStreams streams) {
    if (!arguments.Positional().empty()) {
        throw UsageError{"setup takes no arguments"};
    }
    std::error_code error;
    const std::filesystem::path folder = std::filesystem::current_path(error);
    if (error) {
        throw KelvorError("Cannot find the current folder : " + error.message());
    }
    StreamMessages messages(streams.err);
    const Settings settings = ReadSettings(folder, messages, TodayText());
    streams.out << settings.Datafilename << '\n';
    return kExitOk;
}

} // namespace kelvor::cli
