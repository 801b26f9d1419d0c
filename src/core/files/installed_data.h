// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>

namespace kelvor {

// Where an installed copy keeps its help and examples: share/kelvor2007 beside the bin folder of
// the running program, so that a tree installed under any prefix (a package, a test's temporary
// folder) finds its own files. An empty path when the program's own location cannot be read.
std::filesystem::path InstalledDataFolder();

} // namespace kelvor
