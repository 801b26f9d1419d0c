// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/installed_data.h"

#include <system_error>

namespace kelvor {

std::filesystem::path InstalledDataFolder() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error || program.empty()) {
        return {};
    }
    return program.parent_path().parent_path() / "share" / "kelvor2007";
}

} // namespace kelvor
