// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>
#include <string>

namespace kelvor {

class MessageSink;

// Deletes the file if it exists; a failure is reported as an information message naming the
// file, the caller's unit label and the system's error number, and the program goes on.
void DeleteFileReported(const std::filesystem::path& path, const std::string& unitLabel,
                        MessageSink& messages);

} // namespace kelvor
