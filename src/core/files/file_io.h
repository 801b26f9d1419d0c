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

enum class LinkPolicy {
    // A file the user names: a symbolic link is followed to the regular file it names and that
    // file is replaced; a link to nothing is refused, so a save never creates a file elsewhere.
    FollowToExistingFile,
    // One of the program's own files (records, listings, settings, the examples it copies): a
    // symbolic link there is refused, so nothing is ever written where another user points it.
    Refuse,
};

// Replaces the file whole through a temporary file beside it and an atomic rename, so a crash
// never leaves half a file. A read-only file is refused. The temporary file has no name while
// the data is written; where the file system cannot do that, or when the program is killed in
// the instant between naming it and the rename, a "<name>.kelvor-<process>-<random>.tmp" is
// left, and such files of copies that no longer run are removed at the next save in that folder
// and at start-up (RemoveStaleTemporaries). Throws KelvorError naming the file and the reason
// when it cannot.
void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         WriteDurability durability = WriteDurability::Durable,
                         LinkPolicy links = LinkPolicy::FollowToExistingFile);

// Removes the temporary files that copies of the program which no longer run left in the folder;
// those of running copies stay. Failures are ignored: the files only take room.
void RemoveStaleTemporaries(const std::filesystem::path& folder);

// A Datafile is named without a folder: reject names that would reach outside the working folder.
bool IsPlainFileName(std::string_view name);

} // namespace kelvor
