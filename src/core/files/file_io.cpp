// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/file_io.h"

#include "kelvor_error.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace kelvor {

namespace {

// Temporary files are named "<target>.kelvor-<process id>-<random>.tmp", so that a later save
// can tell those of a copy of the program that no longer runs.
constexpr std::string_view kTemporaryMark = ".kelvor-";
constexpr std::string_view kTemporaryEnd = ".tmp";
// Links followed before a save gives up, as the system itself does.
constexpr int kMostSymbolicLinks = 40;

[[noreturn]] void ThrowFileError(const char* what, const std::filesystem::path& path,
                                 const std::string& reason) {
    throw KelvorError(std::string(what) + " " + path.string() + " : " + reason);
}

[[noreturn]] void ThrowFileError(const char* what, const std::filesystem::path& path, int error) {
    ThrowFileError(what, path, std::strerror(error));
}

std::string SizeText(std::size_t bytes) {
    return bytes >= (1u << 20) ? std::to_string(bytes >> 20) + " MB"
                               : std::to_string(bytes >> 10) + " kB";
}

// Owns a POSIX descriptor so that every early exit closes it.
class Descriptor {
public:
    explicit Descriptor(int fd) : fd_(fd) {}
    ~Descriptor() { Close(); }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const { return fd_; }
    int Close() {
        int result = 0;
        if (fd_ >= 0) {
            result = ::close(fd_);
            fd_ = -1;
        }
        return result;
    }

private:
    int fd_;
};

bool WriteAll(int fd, std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The file a save replaces. A target that does not exist yet is created, unless a link named
// it: a save through a link only ever replaces a regular file that is there.
std::filesystem::path WriteTarget(const std::filesystem::path& path, LinkPolicy links) {
    std::filesystem::path target = path;
    for (int hop = 0; hop < kMostSymbolicLinks; ++hop) {
        struct stat info {};
        if (::lstat(target.c_str(), &info) != 0) {
            if (hop > 0) {
                ThrowFileError("Cannot write file", path,
                               "it is a symbolic link to " + target.string() +
                                   ", which does not exist");
            }
            return target;
        }
        if (!S_ISLNK(info.st_mode)) {
            return target;
        }
        if (links == LinkPolicy::Refuse) {
            ThrowFileError("Cannot write file", path,
                           "it is a symbolic link; the program writes its own files only in "
                           "place (remove the link)");
        }
        std::string link(static_cast<std::size_t>(info.st_size) + 256, '\0');
        const ssize_t length = ::readlink(target.c_str(), link.data(), link.size());
        if (length < 0) {
            ThrowFileError("Cannot write file", path, errno);
        }
        link.resize(static_cast<std::size_t>(length));
        const std::filesystem::path next(link);
        target = next.is_absolute() ? next : target.parent_path() / next;
    }
    ThrowFileError("Cannot write file", path, ELOOP);
}

std::filesystem::path FolderOf(const std::filesystem::path& target) {
    const std::filesystem::path folder = target.parent_path();
    return folder.empty() ? std::filesystem::path(".") : folder;
}

std::filesystem::path TemporaryName(const std::filesystem::path& target) {
    static std::mt19937_64 random{std::random_device{}()};
    char suffix[64];
    std::snprintf(suffix, sizeof suffix, "%ld-%016llx", static_cast<long>(::getpid()),
                  static_cast<unsigned long long>(random()));
    return FolderOf(target) / (target.filename().string() + std::string(kTemporaryMark) + suffix +
                               std::string(kTemporaryEnd));
}

constexpr std::size_t kRandomDigits = 16;

// The process that wrote a temporary file of ours, or 0 when the name is not one of them.
long TemporaryWriter(const std::string& name) {
    const std::size_t mark = name.rfind(kTemporaryMark);
    if (mark == std::string::npos || !name.ends_with(kTemporaryEnd)) {
        return 0;
    }
    const char* const digits = name.c_str() + mark + kTemporaryMark.size();
    char* end = nullptr;
    const long writer = std::strtol(digits, &end, 10);
    if (end == digits || *end != '-' || writer <= 0) {
        return 0;
    }
    const std::string_view random(end + 1);
    if (random.size() != kRandomDigits + kTemporaryEnd.size() ||
        random.find_first_not_of("0123456789abcdef") != kRandomDigits) {
        return 0;
    }
    return writer;
}

// A new file beside the target, created exclusively so that two writers never share one.
int CreateNamedTemporary(const std::filesystem::path& target, std::filesystem::path& temporary) {
    int lastError = EEXIST;
    for (int attempt = 0; attempt < 100 && lastError == EEXIST; ++attempt) {
        temporary = TemporaryName(target);
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            return fd;
        }
        lastError = errno;
    }
    errno = lastError;
    return -1;
}

// Gives an unnamed temporary file a name beside the target, just before the rename.
bool LinkUnnamed(int fd, const std::filesystem::path& target, std::filesystem::path& temporary) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporary = TemporaryName(target);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temporary.c_str(), AT_SYMLINK_FOLLOW) == 0) {
            return true;
        }
        if (errno != EEXIST) {
            return false;
        }
    }
    return false;
}

bool IsReadOnly(const std::filesystem::path& target, const struct stat& info) {
    // The superuser may write anything; a file without any write permission is still meant to
    // stay as it is.
    return (info.st_mode & 0222) == 0 || (::access(target.c_str(), W_OK) != 0 && errno == EACCES);
}

void SyncFolder(const std::filesystem::path& folder) {
    // A folder that cannot be synced loses nothing already written, so that is not an error.
    Descriptor folderDescriptor(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folderDescriptor.get() >= 0) {
        ::fsync(folderDescriptor.get());
    }
}

} // namespace

std::string ReadWholeFile(const std::filesystem::path& path, std::size_t sizeLimit) {
    auto refuseUnlessRegular = [&](const struct stat& info) {
        if (!S_ISREG(info.st_mode)) {
            ThrowFileError("Cannot open file", path,
                           S_ISDIR(info.st_mode) ? "it is a folder" : "it is not a regular file");
        }
    };
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) {
        ThrowFileError("Cannot open file", path, errno);
    }
    refuseUnlessRegular(info);
    // Should the file be swapped for a pipe after the check, the open still returns at once.
    Descriptor file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC));
    if (file.get() < 0) {
        ThrowFileError("Cannot open file", path, errno);
    }
    if (::fstat(file.get(), &info) != 0) {
        ThrowFileError("Cannot read file", path, errno);
    }
    refuseUnlessRegular(info);
    const std::string tooLarge = "it is larger than " + SizeText(sizeLimit);
    if (static_cast<std::size_t>(info.st_size) > sizeLimit) {
        ThrowFileError("Cannot read file", path, tooLarge);
    }
    std::string bytes;
    bytes.reserve(static_cast<std::size_t>(info.st_size));
    char buffer[65536];
    for (;;) {
        const ssize_t count = ::read(file.get(), buffer, sizeof buffer);
        if (count < 0) {
            if (errno == EINTR) {
                continue;
            }
            ThrowFileError("Cannot read file", path, errno);
        }
        if (count == 0) {
            return bytes;
        }
        // The file may grow while it is read.
        if (bytes.size() + static_cast<std::size_t>(count) > sizeLimit) {
            ThrowFileError("Cannot read file", path, tooLarge);
        }
        bytes.append(buffer, static_cast<std::size_t>(count));
    }
}

void RemoveStaleTemporaries(const std::filesystem::path& folder) {
    std::error_code error;
    std::filesystem::directory_iterator entries(folder, error);
    for (; !error && entries != std::filesystem::directory_iterator(); entries.increment(error)) {
        const long writer = TemporaryWriter(entries->path().filename().string());
        if (writer == 0 || writer == ::getpid()) {
            continue;
        }
        std::error_code kindError;
        if (::kill(static_cast<pid_t>(writer), 0) != 0 && errno == ESRCH &&
            entries->symlink_status(kindError).type() == std::filesystem::file_type::regular) {
            std::error_code ignored;
            std::filesystem::remove(entries->path(), ignored);
        }
    }
}

void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes,
                         WriteDurability durability, LinkPolicy links) {
    const std::filesystem::path target = WriteTarget(path, links);
    struct stat existing {};
    const bool replacing = ::stat(target.c_str(), &existing) == 0;
    if (replacing && !S_ISREG(existing.st_mode)) {
        ThrowFileError("Cannot write file", path, "it is not a regular file");
    }
    if (replacing && IsReadOnly(target, existing)) {
        ThrowFileError("Cannot write file", path, "the file is read-only");
    }
    RemoveStaleTemporaries(FolderOf(target));

    std::filesystem::path temporary;
    bool named = false;
    auto fail = [&](int error) {
        if (named) {
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
        }
        ThrowFileError("Cannot write file", path, error);
    };
    auto fillAndClose = [&](Descriptor& file) {
        // Keep the permissions of a file that is being replaced.
        if (replacing) {
            ::fchmod(file.get(), existing.st_mode & 07777);
        }
        if (!WriteAll(file.get(), bytes) ||
            (durability == WriteDurability::Durable && ::fsync(file.get()) != 0)) {
            fail(errno);
        }
    };

    Descriptor unnamed(::open(FolderOf(target).c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666));
    if (unnamed.get() >= 0) {
        fillAndClose(unnamed);
        named = LinkUnnamed(unnamed.get(), target, temporary);
        unnamed.Close();
    }
    if (!named) {
        // No unnamed files here (or no /proc to name one through): write a named one.
        Descriptor file(CreateNamedTemporary(target, temporary));
        if (file.get() < 0) {
            ThrowFileError("Cannot write file", path, errno);
        }
        named = true;
        fillAndClose(file);
        if (file.Close() != 0) {
            fail(errno);
        }
    }
    if (::rename(temporary.c_str(), target.c_str()) != 0) {
        fail(errno);
    }
    if (durability == WriteDurability::Durable) {
        SyncFolder(FolderOf(target));
    }
}

bool IsPlainFileName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

} // namespace kelvor
