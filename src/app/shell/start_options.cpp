// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/shell/start_options.h"

#include "examples/example_catalogue.h"
#include "kelvor_error.h"

#include <system_error>

namespace kelvor::app {

const char* const kProgramHelp =
    "usage: kelvor2007 [--desktop] [FILE.dat]\n"
    "\n"
    "KELVOR2007, the electronic circuit simulator: gain, phase, input and output impedance,\n"
    "amplitude graphs, square-wave and pulse responses and a Bode analyser for linear analogue\n"
    "circuits described in Datafiles.\n"
    "\n"
    "The program works in one folder, where it keeps its settings (KELVOR.INI), the sample\n"
    "Datafile HPFILTER.DAT and its pictures: started with a Datafile, that file's folder, and\n"
    "the Datafile is opened; started from the desktop's menu (--desktop), the folder KELVOR2007\n"
    "in the user's documents folder (XDG_DOCUMENTS_DIR), made on first use with the example\n"
    "Datafiles copied in; otherwise the current folder. The window's status line names it.\n"
    "\n"
    "Options:\n"
    "  --desktop     started from the desktop (its menu or a file manager)\n"
    "  -h, --help    print this text and stop\n"
    "  --version     print the release and stop\n"
    "\n"
    "Exit status: 0 when the main window closes, 2 for a command line it does not know.\n";

std::string ProgramVersionText() {
    return std::string("kelvor2007 (KELVOR2007) ") + KELVOR_RELEASE_VERSION +
           "\nLicence GPL-3.0-or-later: this is free software; there is NO WARRANTY.\n";
}

StartOptions ParseStartOptions(const std::vector<std::string>& arguments) {
    StartOptions options;
    const auto refuse = [&options](std::string why) {
        options.action = StartOptions::Action::Refuse;
        options.refusal = std::move(why);
        return options;
    };
    for (const std::string& argument : arguments) {
        if (argument == "--help" || argument == "-h") {
            options.action = StartOptions::Action::ShowHelp;
            return options;
        }
        if (argument == "--version") {
            options.action = StartOptions::Action::ShowVersion;
            return options;
        }
        if (argument == "--desktop") {
            options.desktop = true;
        } else if (argument.empty() || argument.front() == '-') {
            return refuse("unknown option " + argument);
        } else if (!options.datafile.empty()) {
            return refuse("one Datafile at a time, not " + argument);
        } else {
            options.datafile = argument;
        }
    }
    return options;
}

StartPlace ChooseStartPlace(const StartOptions& options, const std::filesystem::path& current,
                            const std::filesystem::path& documents) {
    if (!options.datafile.empty()) {
        const std::filesystem::path file = (current / options.datafile).lexically_normal();
        return {file.parent_path(), file.filename().string(), false};
    }
    if (options.desktop) {
        return {documents / "KELVOR2007", {}, true};
    }
    return {current, {}, false};
}

OwnFolderOutcome PrepareOwnFolder(const std::filesystem::path& folder,
                                  const std::filesystem::path& examplesFolder) {
    std::error_code error;
    if (std::filesystem::is_directory(folder, error)) {
        return {true, {}};
    }
    if (!std::filesystem::create_directories(folder, error)) {
        return {false, "Cannot make the folder " + folder.string() + " : " +
                           (error ? error.message() : "a file of that name is in the way")};
    }
    if (examplesFolder.empty()) {
        return {true, "The example Datafiles are not installed."};
    }
    try {
        for (const ExampleEntry& example : ReadExampleCatalogue(examplesFolder)) {
            CopyExample(examplesFolder, example, folder);
        }
    } catch (const KelvorError& fault) {
        // The folder is there and works; only some examples are missing from it.
        return {true, std::string("The example Datafiles were not all copied : ") + fault.what()};
    }
    return {true, {}};
}

} // namespace kelvor::app
