#include "files/file_io.h"

#include "kelvor_error.h"
#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <sys/stat.h>
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
