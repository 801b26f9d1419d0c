// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/folder_presence.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace kelvor {

FolderPresence::FolderPresence(const std::filesystem::path& folder)
    : fd_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
    if (fd_ >= 0 && ::flock(fd_, LOCK_SH) != 0) {
        ::close(fd_);
        fd_ = -1;
    }
}

FolderPresence::~FolderPresence() {
    if (fd_ >= 0) {
        ::close(fd_);
    }
}

bool FolderPresence::OnlyCopyInFolder() const {
    if (fd_ < 0) {
        return true;
    }
    // Another copy's shared lock keeps this one from becoming exclusive. The change of lock is
    // not atomic and a refused one may leave none, so the shared lock is taken again either way.
    const bool alone = ::flock(fd_, LOCK_EX | LOCK_NB) == 0;
    ::flock(fd_, LOCK_SH);
    return alone;
}

} // namespace kelvor
