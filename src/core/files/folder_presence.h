// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <filesystem>

namespace kelvor {

// Marks that a copy of the program works in a folder, for as long as it lives, so that copies
// sharing the folder's scratch files (RECORDS.TMP) can tell whether another one is there: every
// copy holds a shared lock on the folder, and a copy is alone when it could have the folder to
// itself. The lock ends with the process, however it ends, so a killed copy never counts.
class FolderPresence {
public:
    // A folder that cannot be locked (a file system without locks) counts as the copy's own.
    explicit FolderPresence(const std::filesystem::path& folder);
    ~FolderPresence();
    FolderPresence(const FolderPresence&) = delete;
    FolderPresence& operator=(const FolderPresence&) = delete;

    // True when no other copy of the program works in the folder now.
    bool OnlyCopyInFolder() const;

private:
    int fd_ = -1;
};

} // namespace kelvor
