// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <optional>
#include <string>

namespace kelvor {

// Whether the program can keep files in the folder: a small file is written, synced and removed
// again. The reason ("Read-only file system", "No space left on device") when it cannot.
std::optional<std::string> FolderWriteFault(const std::filesystem::path& folder);

} // namespace kelvor
