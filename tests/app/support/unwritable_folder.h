// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "support/temp_folder.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/mount.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace kelvor::testing {

// A working folder that refuses to be written, holding the files put in it first: read-only
// (EROFS, or EACCES for a user without root's rights) or full (ENOSPC). Root gets a small
// file system of its own mounted there; other users get a read-only folder through its
// permissions and no full one. `ready` is false where the machine allows neither.
class UnwritableFolder {
public:
    enum class Fault { ReadOnly, Full };

    UnwritableFolder(Fault fault, const std::vector<std::pair<std::string, std::string>>& files)
        : path_(temp_.path() / "work"), fault_(fault) {
        std::filesystem::create_directory(path_);
        if (::geteuid() == 0) {
            if (::mount("kelvor-test", path_.c_str(), "tmpfs", 0, "size=256k") != 0) {
                return;
            }
            mounted_ = true;
        } else if (fault == Fault::Full) {
            return;
        }
        for (const auto& [name, bytes] : files) {
            std::ofstream(path_ / name, std::ios::binary) << bytes;
        }
        if (fault == Fault::Full) {
            FillUp();
        } else if (mounted_) {
            ready_ = ::mount(nullptr, path_.c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
            return;
        } else {
            std::filesystem::permissions(path_, std::filesystem::perms::owner_write,
                                         std::filesystem::perm_options::remove);
        }
        ready_ = true;
    }
    ~UnwritableFolder() {
        if (mounted_) {
            ::umount2(path_.c_str(), MNT_DETACH);
        } else {
            std::filesystem::permissions(path_, std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add);
        }
    }
    UnwritableFolder(const UnwritableFolder&) = delete;
    UnwritableFolder& operator=(const UnwritableFolder&) = delete;

    bool ready() const { return ready_; }
    const std::filesystem::path& path() const { return path_; }
    // The reason the system gives for a refused write.
    std::string reason() const {
        return std::strerror(fault_ == Fault::Full ? ENOSPC : mounted_ ? EROFS : EACCES);
    }

private:
    // Every free block taken by one file that stays.
    void FillUp() const {
        const int fd = ::open((path_ / "filler").c_str(), O_WRONLY | O_CREAT, 0600);
        const std::string block(4096, 'x');
        while (::write(fd, block.data(), block.size()) > 0) {
        }
        ::close(fd);
    }

    TempFolder temp_;
    std::filesystem::path path_;
    Fault fault_;
    bool mounted_ = false;
    bool ready_ = false;
};

} // namespace kelvor::testing
