// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/folder_probe.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <unistd.h>

namespace kelvor {
namespace {

// Large enough that a disk with no free block refuses it, small enough to cost nothing.
constexpr std::size_t kProbeBytes = 4096;

} // namespace

std::optional<std::string> FolderWriteFault(const std::filesystem::path& folder) {
    const std::filesystem::path probe =
        folder / (".kelvor-write-test-" + std::to_string(::getpid()) + ".tmp");
    const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0) {
        return std::string(std::strerror(errno));
    }
    const std::string bytes(kProbeBytes, '\0');
    std::string_view left(bytes);
    int error = 0;
    while (!left.empty() && error == 0) {
        const ssize_t written = ::write(fd, left.data(), left.size());
        if (written < 0 && errno != EINTR) {
            error = errno;
        } else if (written > 0) {
            left.remove_prefix(static_cast<std::size_t>(written));
        }
    }
    if (error == 0 && ::fsync(fd) != 0) {
        error = errno;
    }
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    ::unlink(probe.c_str());
    if (error != 0) {
        return std::string(std::strerror(error));
    }
    return std::nullopt;
}

} // namespace kelvor
