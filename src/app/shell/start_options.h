// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace kelvor::app {

// What the program's command line asks for.
struct StartOptions {
    enum class Action { Run, ShowHelp, ShowVersion, Refuse };
    Action action = Action::Run;
    bool desktop = false;           // started from the desktop's menu or file manager
    std::filesystem::path datafile; // empty: the Datafile the settings remember
    std::string refusal;            // why the command line was refused
};

// The arguments after the program's name, with the toolkit's own options already taken out.
StartOptions ParseStartOptions(const std::vector<std::string>& arguments);

extern const char* const kProgramHelp;
// The first line names the program, its package and the release, as version texts do.
std::string ProgramVersionText();

// Where the program works and what it opens first.
struct StartPlace {
    std::filesystem::path folder;
    std::string datafileName; // a name in that folder; empty: the remembered Datafile
    bool ownFolder = false;   // the desktop's folder of its own, made on first use
};

// From a terminal: the current folder. With a Datafile: that file's folder. From the desktop's
// menu: KELVOR2007 in the documents folder, never the home folder itself.
StartPlace ChooseStartPlace(const StartOptions& options, const std::filesystem::path& current,
                            const std::filesystem::path& documents);

// The desktop's own folder, made when it is missing with the example Datafiles copied in (from
// examplesFolder, when there is one).
struct OwnFolderOutcome {
    bool usable = false;
    std::string problem; // why the folder, or the examples in it, could not be made
};
OwnFolderOutcome PrepareOwnFolder(const std::filesystem::path& folder,
                                  const std::filesystem::path& examplesFolder);

} // namespace kelvor::app
