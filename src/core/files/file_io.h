#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace kelvor {

// The whole file as bytes. Throws KelvorError naming the file when it is missing or unreadable.
std::string ReadWholeFile(const std::filesystem::path& path);

// Writes through a temporary file in the same folder and an atomic rename, so a crash never
// leaves half a file. Throws KelvorError when it cannot.
void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes);

// A Datafile is named without a folder: reject names that would reach outside the working folder.
bool IsPlainFileName(std::string_view name);

} // namespace kelvor
