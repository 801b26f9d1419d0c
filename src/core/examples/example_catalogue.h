// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace kelvor {

// One example Datafile shipped with the program, as INDEX.TXT lists it.
struct ExampleEntry {
    std::string fileName;     // e.g. "SKLOWPAS.DAT"
    std::string title;        // the Datafile's own title (word 1 of its first line)
    std::string description;  // one line
    long double viewFrom = 0; // a frequency range, in hertz, that shows what the circuit does
    long double viewTo = 0;
};

inline constexpr const char* kExampleIndexName = "INDEX.TXT";

// The examples listed in the folder's INDEX.TXT, in its order: lines of
// "FILE.DAT|from|to|description", with "#" lines as comments. Throws KelvorError naming the line
// for a malformed entry and the file for a missing index or Datafile.
std::vector<ExampleEntry> ReadExampleCatalogue(const std::filesystem::path& folder);

// Where the examples are: the installed copy, else the source tree's (a program run from its
// build folder). An empty path when neither exists.
std::filesystem::path FindExamplesFolder();

// Copies one example into the target folder, atomically. Throws KelvorError when it cannot.
void CopyExample(const std::filesystem::path& examplesFolder, const ExampleEntry& example,
                 const std::filesystem::path& targetFolder);

} // namespace kelvor
