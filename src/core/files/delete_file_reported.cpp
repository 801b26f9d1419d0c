// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/delete_file_reported.h"

#include "messages.h"

#include <system_error>

namespace kelvor {

void DeleteFileReported(const std::filesystem::path& path, const std::string& unitLabel,
                        MessageSink& messages) {
    std::error_code error;
    if (!std::filesystem::exists(path, error)) {
        return;
    }
    if (std::filesystem::remove(path, error) && !error) {
        return;
    }
    const int code = error ? error.value() : 0;
    messages.ShowInfo("Cannot delete file " + path.filename().string() + "\r\n\r\n   Unit : " +
                      unitLabel + "      IOResult = " + std::to_string(code));
}

} // namespace kelvor
