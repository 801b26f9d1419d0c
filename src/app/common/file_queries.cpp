// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/common/file_queries.h"

#include <system_error>

namespace kelvor::app {

FileQuery QueryFile(const std::filesystem::path& path) {
    std::error_code error;
    const std::filesystem::file_status status = std::filesystem::status(path, error);
    FileQuery query;
    if (error && error != std::errc::no_such_file_or_directory &&
        error != std::errc::not_a_directory) {
        query.fault = error.message();
        return query;
    }
    query.exists = std::filesystem::exists(status);
    query.regular = std::filesystem::is_regular_file(status);
    return query;
}

} // namespace kelvor::app
