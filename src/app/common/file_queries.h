// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>

namespace kelvor::app {

// What stands at a path, asked without throwing. A query the file system refuses (a loop of
// symbolic links, a folder that may not be searched) is a fault with its reason; a name that
// does not exist is none.
struct FileQuery {
    bool exists = false;
    bool regular = false;
    std::string fault; // empty when the question was answered
};

FileQuery QueryFile(const std::filesystem::path& path);

} // namespace kelvor::app
