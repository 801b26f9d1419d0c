// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/commands.h"
#include "examples/example_catalogue.h"
#include "kelvor_error.h"
#include "settings/settings_file.h"
#include "text/date_text.h"

#include <filesystem>
#include <ostream>
#include <system_error>

namespace kelvor::cli {

const char* const kSetupHelp =
    "usage: kelvor-cli setup [--examples]\n"
    "\n"
    "Does in the current folder what the program does when it starts: reads KELVOR.INI\n"
    "(defaults when it is missing), writes the sample Datafile HPFILTER.DAT when the\n"
    "remembered Datafile and the sample are both missing, and writes KELVOR.INI back.\n"
    "Prints the name of the current Datafile.\n"
    "\n"
    "  --examples   also copy the example Datafiles into the current folder and list them;\n"
    "               a file of the same name that is already there is kept, not replaced\n";

namespace {

void WriteExamples(const std::filesystem::path& folder, CommandStreams streams) {
    const std::filesystem::path examples = FindExamplesFolder();
    if (examples.empty()) {
        throw KelvorError("the example Datafiles are not installed");
    }
    for (const ExampleEntry& example : ReadExampleCatalogue(examples)) {
        // A link counts as a file that is there, even one that points nowhere.
        std::error_code error;
        if (std::filesystem::exists(
                std::filesystem::symlink_status(folder / example.fileName, error))) {
            streams.err << "kept " << example.fileName << ": a file of that name is already here\n";
            continue;
        }
        CopyExample(examples, example, folder);
        streams.out << example.fileName << "  " << example.title << "  -  " << example.description
                    << '\n';
    }
}

} // namespace

int RunSetupCommand(CommandLine& line, CommandStreams streams) {
    bool withExamples = false;
    line.Flag("--examples", withExamples);
    if (!line.Parse().empty()) {
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
    if (withExamples) {
        WriteExamples(folder, streams);
    }
    return kExitOk;
}

} // namespace kelvor::cli
