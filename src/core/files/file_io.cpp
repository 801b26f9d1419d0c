#include "files/file_io.h"

#include "kelvor_error.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <random>
#include <sys/stat.h>
#include <unistd.h>

namespace kelvor {

namespace {

std::string Reason(int error) {
    return std::strerror(error);
}

[[noreturn]] void ThrowFileError(const char* what, const std::filesystem::path& path, int error) {
    throw KelvorError(std::string(what) + " " + path.string() + " : " + Reason(error));
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

// A new file beside the target, created exclusively so that two writers never share one.
int CreateTemporaryBeside(const std::filesystem::path& target, std::filesystem::path& temporary) {
    static std::mt19937_64 random{std::random_device{}()};
    int lastError = EEXIST;
    for (int attempt = 0; attempt < 100 && lastError == EEXIST; ++attempt) {
        char suffix[32];
        std::snprintf(suffix, sizeof suffix, ".%016llx.tmp",
                      static_cast<unsigned long long>(random()));
        temporary = target;
        temporary += suffix;
        const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0) {
            return fd;
        }
        lastError = errno;
    }
    errno = lastError;
    return -1;
}

} // namespace

std::string ReadWholeFile(const std::filesystem::path& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) {
        ThrowFileError("Cannot open file", path, errno);
    }
    std::string bytes;
    char buffer[65536];
    std::size_t count;
    while ((count = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
        bytes.append(buffer, count);
    }
    const bool failed = std::ferror(file) != 0;
    const int error = errno;
    std::fclose(file);
    if (failed) {
        ThrowFileError("Cannot read file", path, error);
    }
    return bytes;
}

void WriteFileAtomically(const std::filesystem::path& path, std::string_view bytes) {
    std::filesystem::path temporary;
    Descriptor file(CreateTemporaryBeside(path, temporary));
    if (file.get() < 0) {
        ThrowFileError("Cannot write file", path, errno);
    }
    auto fail = [&](int error) {
        file.Close();
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        ThrowFileError("Cannot write file", path, error);
    };
    // Keep the permissions of a file that is being replaced.
    struct stat existing {};
    if (::stat(path.c_str(), &existing) == 0 && S_ISREG(existing.st_mode)) {
        ::fchmod(file.get(), existing.st_mode & 07777);
    }
    if (!WriteAll(file.get(), bytes) || ::fsync(file.get()) != 0) {
        fail(errno);
    }
    if (file.Close() != 0) {
        fail(errno);
    }
    std::error_code renameError;
    std::filesystem::rename(temporary, path, renameError);
    if (renameError) {
        fail(renameError.value());
    }
    // Make the rename itself durable; a folder that cannot be synced loses nothing already
    // written, so that failure is not an error.
    std::filesystem::path folder = path.parent_path();
    if (folder.empty()) {
        folder = ".";
    }
    Descriptor folderDescriptor(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folderDescriptor.get() >= 0) {
        ::fsync(folderDescriptor.get());
    }
}

bool IsPlainFileName(std::string_view name) {
    return !name.empty() && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\\\0", 3)) == std::string_view::npos;
}

} // namespace kelvor
