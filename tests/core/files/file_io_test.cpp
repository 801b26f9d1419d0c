// SPDX-License-Identifier: GPL-3.0-or-later
#include "files/file_io.h"

#include "kelvor_error.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <csignal>
#include <functional>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace kelvor {
namespace {

namespace fs = std::filesystem;
using testing::TempFolder;

std::vector<std::string> FolderEntries(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string ErrorMessageOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const KelvorError& error) {
        return error.what();
    }
    return "(no error)";
}

TEST(FileIo, ReadsEveryByte) {
    TempFolder folder;
    const std::string bytes("A\r\nB\0\xff\rC\n", 9);
    folder.Write("BYTES.DAT", bytes);
    EXPECT_EQ(ReadWholeFile(folder / "BYTES.DAT"), bytes);
    folder.Write("EMPTY.DAT", "");
    EXPECT_EQ(ReadWholeFile(folder / "EMPTY.DAT"), "");
}

TEST(FileIo, ReadFailuresNameTheFileAndTheReason) {
    TempFolder folder;
    const std::string missing = ErrorMessageOf([&] { ReadWholeFile(folder / "NOFILE.DAT"); });
    EXPECT_NE(missing.find("Cannot open file"), std::string::npos) << missing;
    EXPECT_NE(missing.find("NOFILE.DAT"), std::string::npos) << missing;
    EXPECT_NE(missing.find("No such file"), std::string::npos) << missing;

    fs::create_directory(folder / "SUB.DAT");
    const std::string directory = ErrorMessageOf([&] { ReadWholeFile(folder / "SUB.DAT"); });
    EXPECT_NE(directory.find("SUB.DAT"), std::string::npos) << directory;
}

TEST(FileIo, AtomicWriteReplacesContentAndLeavesNoTemporaryFile) {
    TempFolder folder;
    WriteFileAtomically(folder / "KELVOR.INI", "a much longer first content\r\n");
    EXPECT_EQ(folder.Read("KELVOR.INI"), "a much longer first content\r\n");
    WriteFileAtomically(folder / "KELVOR.INI", std::string("sh\0rt", 5));
    EXPECT_EQ(folder.Read("KELVOR.INI"), std::string("sh\0rt", 5));
    EXPECT_EQ(FolderEntries(folder.path()), std::vector<std::string>{"KELVOR.INI"});
}

TEST(FileIo, AtomicWriteKeepsThePermissionsOfTheReplacedFile) {
    TempFolder folder;
    folder.Write("A.DAT", "old");
    ASSERT_EQ(::chmod((folder / "A.DAT").c_str(), 0640), 0);
    WriteFileAtomically(folder / "A.DAT", "new");
    struct stat status {};
    ASSERT_EQ(::stat((folder / "A.DAT").c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0640u);
}

TEST(FileIo, AtomicWriteFailuresThrowAndCleanUp) {
    TempFolder folder;
    const std::string noFolder =
        ErrorMessageOf([&] { WriteFileAtomically(folder / "NOSUCH" / "KELVOR.INI", "x"); });
    EXPECT_NE(noFolder.find("Cannot write file"), std::string::npos) << noFolder;
    EXPECT_NE(noFolder.find("KELVOR.INI"), std::string::npos) << noFolder;

    // A folder in the way of the target: the rename fails after the data was written.
    fs::create_directory(folder / "TARGET.DAT");
    fs::create_directory(folder / "TARGET.DAT" / "inside");
    const std::string inTheWay =
        ErrorMessageOf([&] { WriteFileAtomically(folder / "TARGET.DAT", "x"); });
    EXPECT_NE(inTheWay.find("TARGET.DAT"), std::string::npos) << inTheWay;
    EXPECT_EQ(FolderEntries(folder.path()), std::vector<std::string>{"TARGET.DAT"});
}

TEST(FileIo, AtomicWriteIntoReadOnlyFolderKeepsTheOldFile) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "permissions do not bind the superuser";
    }
    TempFolder folder;
    folder.Write("KELVOR.INI", "old");
    ASSERT_EQ(::chmod(folder.path().c_str(), 0555), 0);
    const std::string message =
        ErrorMessageOf([&] { WriteFileAtomically(folder / "KELVOR.INI", "new"); });
    ::chmod(folder.path().c_str(), 0755);
    EXPECT_NE(message.find("Cannot write file"), std::string::npos) << message;
    EXPECT_EQ(folder.Read("KELVOR.INI"), "old");
    EXPECT_EQ(FolderEntries(folder.path()), std::vector<std::string>{"KELVOR.INI"});
}

TEST(FileIo, OnlyRegularFilesWithinTheLimitAreRead) {
    TempFolder folder;
    ASSERT_EQ(::mkfifo((folder / "PIPE.DAT").c_str(), 0644), 0);
    fs::create_directory(folder / "SUB.DAT");
    folder.Write("BIG.DAT", std::string(2049, 'x'));
    ASSERT_EQ(::symlink("LOOP.DAT", (folder / "LOOP.DAT").c_str()), 0);
    const struct {
        fs::path path;
        std::size_t limit;
        const char* reason;
    } cases[] = {
        {folder / "PIPE.DAT", kDefaultReadSizeLimit, "not a regular file"}, // would block in open
        {"/dev/zero", kDefaultReadSizeLimit, "not a regular file"},         // would never end
        {folder / "SUB.DAT", kDefaultReadSizeLimit, "it is a folder"},
        {folder / "BIG.DAT", 2048, "larger than 2 kB"},
        {folder / "LOOP.DAT", kDefaultReadSizeLimit, "Too many levels of symbolic links"},
    };
    for (const auto& c : cases) {
        const std::string message = ErrorMessageOf([&] { ReadWholeFile(c.path, c.limit); });
        EXPECT_NE(message.find(c.path.filename().string()), std::string::npos) << message;
        EXPECT_NE(message.find(c.reason), std::string::npos) << message;
    }
    EXPECT_EQ(ReadWholeFile(folder / "BIG.DAT", 2049).size(), 2049u);
}

TEST(FileIo, SaveThroughASymbolicLinkReplacesItsTarget) {
    TempFolder folder;
    fs::create_directory(folder / "real");
    folder.Write("real/A.DAT", "old");
    fs::create_symlink("real/A.DAT", folder / "LINK.DAT");
    fs::create_symlink("LINK.DAT", folder / "CHAIN.DAT");
    WriteFileAtomically(folder / "CHAIN.DAT", "new");
    EXPECT_TRUE(fs::is_symlink(folder / "LINK.DAT"));
    EXPECT_TRUE(fs::is_symlink(folder / "CHAIN.DAT"));
    EXPECT_EQ(folder.Read("real/A.DAT"), "new");
    EXPECT_EQ(FolderEntries(folder / "real"), std::vector<std::string>{"A.DAT"});

    fs::create_symlink("LOOP.DAT", folder / "LOOP.DAT");
    const std::string loop = ErrorMessageOf([&] { WriteFileAtomically(folder / "LOOP.DAT", "x"); });
    EXPECT_NE(loop.find("LOOP.DAT : Too many levels of symbolic links"), std::string::npos) << loop;
}

TEST(FileIo, ReadOnlyFileIsRefusedAndKept) {
    TempFolder folder;
    folder.Write("A.DAT", "old");
    ASSERT_EQ(::chmod((folder / "A.DAT").c_str(), 0444), 0);
    const std::string message =
        ErrorMessageOf([&] { WriteFileAtomically(folder / "A.DAT", "new"); });
    EXPECT_NE(message.find("A.DAT : the file is read-only"), std::string::npos) << message;
    EXPECT_EQ(folder.Read("A.DAT"), "old");
    EXPECT_EQ(FolderEntries(folder.path()), std::vector<std::string>{"A.DAT"});
}

// A save cut off half-way, once by a failing write and once by the death of the process (the
// file-size limit raises SIGXFSZ in the middle of the write): the old file stays whole and no
// temporary file is left.
TEST(FileIo, SaveCutOffHalfWayLeavesTheOldFileAndNothingElse) {
    for (const bool killed : {false, true}) {
        TempFolder folder;
        folder.Write("A.DAT", "old");
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            std::signal(SIGXFSZ, killed ? SIG_DFL : SIG_IGN);
            const rlimit limit{4096, 4096};
            ::setrlimit(RLIMIT_FSIZE, &limit);
            const std::string message = ErrorMessageOf(
                [&] { WriteFileAtomically(folder / "A.DAT", std::string(100000, 'x')); });
            ::_exit(message.find("A.DAT : File too large") != std::string::npos ? 0 : 1);
        }
        int status = 0;
        ASSERT_EQ(::waitpid(child, &status, 0), child);
        if (killed) {
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGXFSZ);
        } else {
            EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "no reason given";
        }
        EXPECT_EQ(folder.Read("A.DAT"), "old");
        EXPECT_EQ(FolderEntries(folder.path()), std::vector<std::string>{"A.DAT"});
    }
}

// Left by a copy killed between naming its temporary file and the rename: whatever file it
// was saving, the next save in the folder, or the start of the program, removes it.
TEST(FileIo, TemporariesOfCopiesThatNoLongerRunAreRemoved) {
    TempFolder folder;
    const pid_t ended = ::fork();
    if (ended == 0) {
        ::_exit(0);
    }
    ASSERT_EQ(::waitpid(ended, nullptr, 0), ended);
    const std::string dead = std::to_string(ended);
    const std::string running = "A.DAT.kelvor-1-0123456789abcdef.tmp"; // process 1 always runs
    const std::string notOurs = "B.DAT.kelvor-" + dead + "-notrandom.tmp";
    for (const char* target : {"A.DAT", "B.DAT"}) {
        folder.Write(std::string(target) + ".kelvor-" + dead + "-0123456789abcdef.tmp",
                     "left over");
    }
    folder.Write(running, "in use");
    folder.Write(notOurs, "a user's");
    WriteFileAtomically(folder / "A.DAT", "new");
    std::vector<std::string> expected{"A.DAT", notOurs, running};
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(FolderEntries(folder.path()), expected);

    folder.Write("C.DAT.kelvor-" + dead + "-fedcba9876543210.tmp", "left over");
    RemoveStaleTemporaries(folder.path());
    EXPECT_EQ(FolderEntries(folder.path()), expected);
}

// A save through a link only replaces a regular file that is there; the program's own files
// are never written through a link at all.
TEST(FileIo, LinksLeadOnlyToExistingFilesAndNeverToTheProgramsOwn) {
    TempFolder folder;
    fs::create_directory(folder / "elsewhere");
    folder.Write("elsewhere/A.DAT", "old");
    fs::create_symlink("elsewhere/A.DAT", folder / "LINK.DAT");
    fs::create_symlink("elsewhere/NEW.DAT", folder / "DANGLING.DAT");
    const std::string dangling =
        ErrorMessageOf([&] { WriteFileAtomically(folder / "DANGLING.DAT", "x"); });
    EXPECT_NE(dangling.find("DANGLING.DAT : it is a symbolic link to"), std::string::npos)
        << dangling;
    const std::string own = ErrorMessageOf([&] {
        WriteFileAtomically(folder / "LINK.DAT", "x", WriteDurability::Scratch, LinkPolicy::Refuse);
    });
    EXPECT_NE(own.find("LINK.DAT : it is a symbolic link"), std::string::npos) << own;
    EXPECT_EQ(FolderEntries(folder / "elsewhere"), std::vector<std::string>{"A.DAT"});
    EXPECT_EQ(folder.Read("elsewhere/A.DAT"), "old");
    EXPECT_TRUE(fs::is_symlink(folder / "LINK.DAT"));
}

TEST(FileIo, PlainFileNames) {
    const struct {
        std::string_view name;
        bool plain;
    } cases[] = {
        {"HPFILTER.DAT", true},
        {"my circuit.dat", true},
        {"..dat", true},
        {"\xe9t\xe9.dat", true},
        {"", false},
        {".", false},
        {"..", false},
        {"../HPFILTER.DAT", false},
        {"/etc/passwd", false},
        {"sub/A.DAT", false},
        {"C:\\A.DAT", false},
        {std::string_view("A\0.DAT", 6), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsPlainFileName(c.name), c.plain) << c.name;
    }
}

} // namespace
} // namespace kelvor
