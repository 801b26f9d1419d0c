// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

namespace kelvor {

// Size limits of the files the program reads: far above any real file of its kind, low enough
// that a wrong file (a disk image, a device) is refused before it fills the memory.
inline constexpr std::size_t kDatafileSizeLimit = 16u << 20;
inline constexpr std::size_t kSettingsSizeLimit = 1u << 20;
// Fifty times our help document: a text box lays out a larger one for many seconds.
inline constexpr std::size_t kHelpFileSizeLimit = 2u << 20;
// Listings are read with this limit too.
inline constexpr std::size_t kDefaultReadSizeLimit = kDatafileSizeLimit;

// The whole file as bytes. Only regular files are opened, so a pipe or a device never blocks
// the program. Throws KelvorError naming the file and the reason when it is missing,
// unreadable, not a regular file or larger than the limit.
std::string ReadWholeFile(const std::filesystem::path& path,
                          std::size_t sizeLimit = kDefaultReadSizeLimit);

enum class WriteDurability {
    Durable, // synced to the disk before the rename: a user's file
    Scratch, // a temporary file of the program, rewritten at every use
};

// Replaces the file whole through a temporary file beside it and an atomic rename, so a crash
// never leaves half a file. A symbolic link is followed and its target replaced; a read-only
// file is refused. The temporary file has no name until the data is written, so a kill leaves
// nothing behind; where the file system cannot do that, a named temporary file is used and
// those left by a killed copy of the program are removed at the next save. Throws KelvorError
// naming the file and the reason when it cannot.
void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         WriteDurability durability = WriteDurability::Durable);

// A Datafile is named without a folder: reject names that would reach outside the working folder.
bool IsPlainFileName(std::string_view name);

} // namespace kelvor
